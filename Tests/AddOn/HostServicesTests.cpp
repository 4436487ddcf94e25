#include "BoundAddOn.hpp"
#include "HostServices.hpp"
#include "UniStringPrinting.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
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

// One service as the add-on calls it, with the slot and the arguments the host must see.
struct Service {
    std::string name;
    std::size_t slot;
    std::function<GSErrCode(Outputs&)> call;
    std::function<Arguments(Outputs&)> expected;
};

const AddOnModuleId SafAddOnId{0x1A2B3C4Du, 0x5E6F7081u};

std::vector<Service> TokenTakingServices() {
    return {
        {"HostMenuHandlerInstall", FakeSlot::MenuHandlerInstall,
         [](Outputs&) { return HostMenuHandlerInstall(-12, &MenuCommandHandler); },
         [](Outputs&) {
             return Arguments{AsArgument(Int16{-12}), AsArgument(&MenuCommandHandler)};
         }},
        {"HostEnvironment", FakeSlot::Environment,
         [](Outputs& out) { return HostEnvironment(0x47535046, &out.folderNumber, &out.name, nullptr); },
         [](Outputs& out) {
             return Arguments{0x47535046, AsArgument(&out.folderNumber), AsArgument(&out.name), 0};
         }},
        {"HostAutomate", FakeSlot::Automate,
         [](Outputs& out) { return HostAutomate(-0x53415645, &out.result, &out.name, &out.guid); },
         [](Outputs& out) {
             return Arguments{AsArgument(Int32{-0x53415645}), AsArgument(&out.result), AsArgument(&out.name),
                              AsArgument(&out.guid)};
         }},
        {"HostCommandCall", FakeSlot::CommandCall,
         [](Outputs& out) {
             return HostCommandCall(&SafAddOnId, 0x4C414441u, 3, &out.name, &out.result, true);
         },
         [](Outputs& out) {
             return Arguments{
                 AsArgument(&SafAddOnId), 0x4C414441u, 3, AsArgument(&out.name), AsArgument(&out.result), 1};
         }},
        {"HostObjectCreate", FakeSlot::ObjectCreate,
         [](Outputs& out) { return HostObjectCreate(&out.name, &out.content, &out.guid); },
         [](Outputs& out) {
             return Arguments{AsArgument(&out.name), AsArgument(&out.content), AsArgument(&out.guid)};
         }},
        {"HostObjectRead", FakeSlot::ObjectRead,
         [](Outputs& out) { return HostObjectRead(&out.guid, &out.name, &out.content); },
         [](Outputs& out) {
             return Arguments{AsArgument(&out.guid), AsArgument(&out.name), AsArgument(&out.content)};
         }},
        {"HostObjectModify", FakeSlot::ObjectModify,
         [](Outputs& out) { return HostObjectModify(&out.guid, &out.name, &out.content); },
         [](Outputs& out) {
             return Arguments{AsArgument(&out.guid), AsArgument(&out.name), AsArgument(&out.content)};
         }},
        {"HostObjectFind", FakeSlot::ObjectFind,
         [](Outputs& out) { return HostObjectFind(&out.name, &out.guid); },
         [](Outputs& out) {
             return Arguments{AsArgument(&out.name), AsArgument(&out.guid)};
         }},
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
        Outputs outputs;
        const std::size_t before = host.Calls().size();
        EXPECT_EQ(service.call(outputs), NoError);
        ASSERT_EQ(host.Calls().size(), before + 1);
        const HostCall& call = host.Calls().back();
        EXPECT_EQ(call.slot, service.slot);
        EXPECT_EQ(call.token, nullptr);
        EXPECT_EQ(call.arguments, service.expected(outputs));
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
