#include "BoundAddOn.hpp"
#include "HostServices.hpp"
#include "UniStringPrinting.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace {
constexpr auto MissingSlot = static_cast<GSErrCode>(0x81060387u);
using Arguments = std::vector<std::uint64_t>;

constexpr UInt8 UntouchedGuidTail[8] = {9, 8, 7, 6, 5, 4, 3, 2};

// Distinct outputs whose every byte a test can compare after an empty slot was met.
struct Outputs {
    GS::UniString name{"untouched name"};
    GS::Guid guid{0xCAFEBABEu, 0x1234u, 0x5678u, UntouchedGuidTail};
    GSHandle content = reinterpret_cast<GSHandle>(std::uintptr_t{0xC0FFEE});
    Int32 folderNumber = 7;
    unsigned char result[16] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                                0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
};

// A value for each parameter of a host service, different from every other parameter's: pointers
// above 32 bits, integers negative, so that an argument dropped, swapped with another of its type,
// narrowed or sign-changed on its way to the host shows.
template <typename T>
T Distinct(std::size_t position) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<T>(static_cast<std::uintptr_t>(0x5E00'0000'0000u + position * 0x10));
    } else if constexpr (std::is_same_v<T, bool>) {
        return true;
    } else {
        return static_cast<T>(-0x2F00 - static_cast<int>(position));
    }
}

// Calls `service` with distinct arguments and answers what the host must have seen: each of them, in
// the order the service takes them (the token, which the host sees before them, is checked apart).
template <typename... Parameters>
std::function<Arguments()> WithDistinctArguments(GSErrCode (*service)(Parameters...)) {
    return [service] {
        // The n-th parameter gets Distinct(n).
        const auto arguments = []<std::size_t... Positions>(std::index_sequence<Positions...>) {
            return std::tuple<Parameters...>{Distinct<Parameters>(Positions)...};
        }
        (std::index_sequence_for<Parameters...>{});
        EXPECT_EQ(std::apply(service, arguments), NoError);
        return std::apply([](auto... argument) { return Arguments{AsArgument(argument)...}; }, arguments);
    };
}

// One service as the add-on calls it: the slot the host's contract gives it, a call with real
// outputs (to see that a failure touches none), and a call with distinct arguments.
struct Service {
    std::string name;
    std::size_t slot;
    std::function<GSErrCode(Outputs&)> call;
    std::function<Arguments()> callWithDistinctArguments;
};

const AddOnModuleId SafAddOnId{0x1A2B3C4Du, 0x5E6F7081u};

std::vector<Service> TokenTakingServices() {
    return {
        {"HostMenuHandlerInstall", HostSlot::MenuHandlerInstall,
         [](Outputs&) { return HostMenuHandlerInstall(-12, &MenuCommandHandler); },
         WithDistinctArguments(&HostMenuHandlerInstall)},
        {"HostEnvironment", HostSlot::Environment,
         [](Outputs& out) { return HostEnvironment(0x47535046, &out.folderNumber, &out.name, nullptr); },
         WithDistinctArguments(&HostEnvironment)},
        {"HostAutomate", HostSlot::Automate,
         [](Outputs& out) { return HostAutomate(-0x53415645, &out.result, &out.name, &out.guid); },
         WithDistinctArguments(&HostAutomate)},
        {"HostCommandCall", HostSlot::CommandCall,
         [](Outputs& out) {
             return HostCommandCall(&SafAddOnId, 0x4C414441u, 3, &out.name, &out.result, true);
         },
         WithDistinctArguments(&HostCommandCall)},
        {"HostObjectCreate", HostSlot::ObjectCreate,
         [](Outputs& out) { return HostObjectCreate(&out.name, &out.content, &out.guid); },
         WithDistinctArguments(&HostObjectCreate)},
        {"HostObjectRead", HostSlot::ObjectRead,
         [](Outputs& out) { return HostObjectRead(&out.guid, &out.name, &out.content); },
         WithDistinctArguments(&HostObjectRead)},
        {"HostObjectModify", HostSlot::ObjectModify,
         [](Outputs& out) { return HostObjectModify(&out.guid, &out.name, &out.content); },
         WithDistinctArguments(&HostObjectModify)},
        {"HostObjectFind", HostSlot::ObjectFind,
         [](Outputs& out) { return HostObjectFind(&out.name, &out.guid); },
         WithDistinctArguments(&HostObjectFind)},
    };
}

void ExpectUntouched(const Outputs& outputs) {
    const Outputs pristine;
    EXPECT_EQ(outputs.name, pristine.name);
    EXPECT_EQ(outputs.guid, pristine.guid);
    EXPECT_EQ(outputs.content, pristine.content);
    EXPECT_EQ(outputs.folderNumber, pristine.folderNumber);
    EXPECT_EQ(std::memcmp(outputs.result, pristine.result, sizeof(outputs.result)), 0);
}
} // namespace

TEST_F(BoundAddOn, MenuRegisterHandsTheHostAZeroedRecordAndNoToken) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    EXPECT_EQ(HostMenuRegister(-2, 0x7FFF, -18, 0x10203040), NoError);

    const HostCall& call = host.Calls().back();
    EXPECT_EQ(call.slot, FakeSlot::MenuRegister);
    const std::vector<unsigned char> expected = {
        0xFE, 0xFF, 0xFF, 0x7F, 0xEE, 0xFF, 0xFF, 0xFF, 0x40, 0x30, 0x20, 0x10, 0, 0, 0, 0,
        0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0};
    EXPECT_EQ(call.menuRecord, expected);
}

TEST_F(BoundAddOn, BeforeStartEveryServicePassesANullTokenAndItsArgumentsInOrder) {
    for (const Service& service : TokenTakingServices()) {
        SCOPED_TRACE(service.name);
        const std::size_t before = host.Calls().size();
        const Arguments passed = service.callWithDistinctArguments();
        ASSERT_EQ(host.Calls().size(), before + 1) << "one service call is one host call";
        const HostCall& call = host.Calls().back();
        EXPECT_EQ(call.slot, service.slot);
        EXPECT_EQ(call.token, nullptr);
        EXPECT_EQ(call.arguments, passed);
    }
}

TEST_F(BoundAddOn, AfterStartEveryServicePassesTheHostsTokenFirst) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    for (const Service& service : TokenTakingServices()) {
        SCOPED_TRACE(service.name);
        Outputs outputs;
        EXPECT_EQ(service.call(outputs), NoError);
        EXPECT_EQ(host.Calls().back().slot, service.slot);
        EXPECT_EQ(host.Calls().back().token, HostToken());
    }
}

TEST_F(BoundAddOn, AfterReleaseTheTokenIsNullAgain) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    ASSERT_EQ(AddOnRelease(), NoError);
    Outputs outputs;
    EXPECT_EQ(HostObjectFind(&outputs.name, &outputs.guid), NoError);
    EXPECT_EQ(host.Calls().back().token, nullptr);
}

TEST_F(BoundAddOn, EveryServiceReturnsTheHostsAnswerUnchanged) {
    GSErrCode answer = static_cast<GSErrCode>(0x80000001u);
    for (const Service& service : TokenTakingServices()) {
        SCOPED_TRACE(service.name);
        host.AnswerWith(service.slot, answer);
        Outputs outputs;
        EXPECT_EQ(service.call(outputs), answer);
        answer += 0x01010101;
    }
    host.AnswerWith(FakeSlot::MenuRegister, -1);
    EXPECT_EQ(HostMenuRegister(1, 2, 3, 4), -1);
}

TEST_F(BoundAddOn, AnEmptySlotAnswersMissingSlotCallsNothingAndTouchesNoOutput) {
    for (const Service& service : TokenTakingServices()) {
        SCOPED_TRACE(service.name);
        EmptySlotAndRebind(service.slot);
        Outputs outputs;
        EXPECT_EQ(service.call(outputs), MissingSlot);
        ExpectUntouched(outputs);
    }
    EmptySlotAndRebind(FakeSlot::MenuRegister);
    EXPECT_EQ(HostMenuRegister(32500, 32600, 18, 0), MissingSlot);
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(BoundAddOn, TheModuleWorksOnItsOwnCopyOfTheTable) {
    host.EmptySlot(FakeSlot::ObjectFind);
    Outputs outputs;
    EXPECT_EQ(HostObjectFind(&outputs.name, &outputs.guid), NoError);
    EXPECT_EQ(host.Calls().size(), 1u);

    ASSERT_EQ(SetImportedFuncAddrs(host.Table()), 0);
    EXPECT_EQ(HostObjectFind(&outputs.name, &outputs.guid), MissingSlot);
    EXPECT_EQ(host.Calls().size(), 1u);
}
