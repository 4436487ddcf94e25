#include "Record/RunTimings.hpp"
#include "Services/HostTable.hpp"

#include "CallTimer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

using namespace HostSim;

namespace {

template <typename Proc>
Proc SlotAt(const HostFunctionTableBytes& table, std::size_t offset) {
    Proc proc = nullptr;
    std::memcpy(&proc, table.data() + offset, sizeof proc);
    return proc;
}

bool SlotIsEmpty(const HostFunctionTableBytes& table, std::size_t offset) {
    return SlotAt<void (*)()>(table, offset) == nullptr;
}

// One call as an operation received it: the operation, and every argument in the order the host's
// declaration gives them (integers sign-extended, pointers by address).
struct Reached {
    std::string operation;
    std::vector<std::int64_t> arguments;
    bool operator==(const Reached&) const = default;
};

void PrintTo(const Reached& reached, std::ostream* out) {
    *out << reached.operation << std::hex;
    for (const std::int64_t argument : reached.arguments) {
        *out << " 0x" << argument;
    }
}

template <typename T>
std::int64_t Word(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(value));
    } else {
        return static_cast<std::int64_t>(value);
    }
}

// Records every call that reached it and answers what the test says.
class RecordingOperations : public HostOperations {
public:
    GSErrCode MenuRegister(const MenuRegistrationRecord* record) override {
        return Record("MenuRegister", {Word(record)});
    }
    GSErrCode MenuHandlerInstall(AddOnToken token, Int16 menuListId,
                                 MenuCommandHandlerProc handler) override {
        return Record("MenuHandlerInstall", {Word(token), Word(menuListId), Word(handler)});
    }
    GSErrCode Environment(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) override {
        return Record("Environment", {Word(token), Word(code), Word(par1), Word(par2), Word(par3)});
    }
    GSErrCode Automate(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) override {
        return Record("Automate", {Word(token), Word(code), Word(par1), Word(par2), Word(par3)});
    }
    GSErrCode CommandCall(AddOnToken token, const AddOnModuleId* target, UInt32 command, UInt32 version,
                          void* parameter, void* result, bool silent) override {
        return Record("CommandCall", {Word(token), Word(target), Word(command), Word(version),
                                      Word(parameter), Word(result), Word(silent)});
    }
    GSErrCode ObjectCreate(AddOnToken token, const GS::UniString* name, GSHandle* content,
                           GS::Guid* guid) override {
        return Record("ObjectCreate", {Word(token), Word(name), Word(content), Word(guid)});
    }
    GSErrCode ObjectRead(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                         GSHandle* content) override {
        return Record("ObjectRead", {Word(token), Word(guid), Word(name), Word(content)});
    }
    GSErrCode ObjectModify(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                           GSHandle* content) override {
        return Record("ObjectModify", {Word(token), Word(guid), Word(name), Word(content)});
    }
    GSErrCode ObjectFind(AddOnToken token, const GS::UniString* name, GS::Guid* guid) override {
        return Record("ObjectFind", {Word(token), Word(name), Word(guid)});
    }

    std::vector<Reached> reached;
    GSErrCode answer = NoError;

private:
    GSErrCode Record(const char* operation, std::vector<std::int64_t> arguments) {
        reached.push_back({operation, std::move(arguments)});
        return answer;
    }
};

class HostTableTest : public ::testing::Test {
protected:
    void SetUp() override { SetActiveHostOperations(&operations); }
    void TearDown() override { SetActiveHostOperations(nullptr); }
    RecordingOperations operations;
};

} // namespace

TEST_F(HostTableTest, OnlyTheNineAgreedSlotsAreFilled) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    std::size_t filled = 0;
    for (std::size_t offset = 0; offset < HostFunctionTableSize; offset += 8) {
        filled += SlotIsEmpty(table, offset) ? 0u : 1u;
    }
    EXPECT_EQ(filled, 9u);
    for (std::size_t offset : {0x28u, 0xD0u, 0x280u, 0x298u, 0xAC8u, 0x1048u, 0x1058u, 0x1060u, 0x1080u}) {
        EXPECT_FALSE(SlotIsEmpty(table, offset)) << std::hex << offset;
    }
}

TEST_F(HostTableTest, EmptiedSlotsAreNullAndTheOthersStay) {
    HostFunctionTableBytes table =
        BuildHostFunctionTable({TableOperation::MenuRegister, TableOperation::ObjectFind});
    EXPECT_TRUE(SlotIsEmpty(table, 0x28));
    EXPECT_TRUE(SlotIsEmpty(table, 0x1080));
    EXPECT_FALSE(SlotIsEmpty(table, 0xD0));
    EXPECT_FALSE(SlotIsEmpty(table, 0x1060));
}

// A slot wired to the wrong operation, or one that drops, swaps or narrows an argument on the way,
// hands the add-on's call to another host service or changes what it asks. Each call below passes
// values that differ from each other and from every other call's, pointers above 32 bits included,
// and each answer is new, so that only the slot's own operation, with its arguments as given, fits.
TEST_F(HostTableTest, EachSlotReachesItsOwnOperationWithTheArgumentsUnchanged) {
    const HostFunctionTableBytes table = BuildHostFunctionTable({});
    const auto address = [](std::uint64_t value) {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));
    };
    const auto token = static_cast<AddOnToken>(address(0x7000'0000'0701));
    const std::int64_t tokenWord = 0x7000'0000'0701;
    struct Call {
        std::size_t slot;
        std::function<GSErrCode()> call;
        Reached expected;
    };
    const std::vector<Call> calls = {
        {HostSlot::MenuRegister,
         [&] {
             return SlotAt<HostMenuRegisterProc>(table, HostSlot::MenuRegister)(
                 static_cast<const MenuRegistrationRecord*>(address(0x1111'0000'0010)));
         },
         {"MenuRegister", {0x1111'0000'0010}}},
        {HostSlot::MenuHandlerInstall,
         [&] {
             return SlotAt<HostMenuHandlerInstallProc>(table, HostSlot::MenuHandlerInstall)(
                 token, -32500, reinterpret_cast<MenuCommandHandlerProc>(address(0x2222'0000'0020)));
         },
         {"MenuHandlerInstall", {tokenWord, -32500, 0x2222'0000'0020}}},
        {HostSlot::Environment,
         [&] {
             return SlotAt<HostEnvironmentProc>(table, HostSlot::Environment)(
                 token, FourLetterCode("GSPF"), address(0x3333'0000'0031), address(0x3333'0000'0032),
                 nullptr);
         },
         {"Environment", {tokenWord, 0x47535046, 0x3333'0000'0031, 0x3333'0000'0032, 0}}},
        {HostSlot::Automate,
         [&] {
             return SlotAt<HostAutomateProc>(table, HostSlot::Automate)(
                 token, -2, address(0x4444'0000'0041), address(0x4444'0000'0042), address(0x4444'0000'0043));
         },
         {"Automate", {tokenWord, -2, 0x4444'0000'0041, 0x4444'0000'0042, 0x4444'0000'0043}}},
        {HostSlot::CommandCall,
         [&] {
             return SlotAt<HostCommandCallProc>(table, HostSlot::CommandCall)(
                 token, static_cast<const AddOnModuleId*>(address(0x5555'0000'0051)), 0xFFFF'FFFEu, 12345,
                 address(0x5555'0000'0052), address(0x5555'0000'0053), true);
         },
         {"CommandCall",
          {tokenWord, 0x5555'0000'0051, 0xFFFF'FFFE, 12345, 0x5555'0000'0052, 0x5555'0000'0053, 1}}},
        {HostSlot::ObjectCreate,
         [&] {
             return SlotAt<HostObjectCreateProc>(table, HostSlot::ObjectCreate)(
                 token, static_cast<const GS::UniString*>(address(0x6666'0000'0061)),
                 static_cast<GSHandle*>(address(0x6666'0000'0062)),
                 static_cast<GS::Guid*>(address(0x6666'0000'0063)));
         },
         {"ObjectCreate", {tokenWord, 0x6666'0000'0061, 0x6666'0000'0062, 0x6666'0000'0063}}},
        {HostSlot::ObjectRead,
         [&] {
             return SlotAt<HostObjectReadProc>(table, HostSlot::ObjectRead)(
                 token, static_cast<const GS::Guid*>(address(0x7777'0000'0071)),
                 static_cast<GS::UniString*>(address(0x7777'0000'0072)),
                 static_cast<GSHandle*>(address(0x7777'0000'0073)));
         },
         {"ObjectRead", {tokenWord, 0x7777'0000'0071, 0x7777'0000'0072, 0x7777'0000'0073}}},
        {HostSlot::ObjectModify,
         [&] {
             return SlotAt<HostObjectModifyProc>(table, HostSlot::ObjectModify)(
                 token, static_cast<const GS::Guid*>(address(0x1888'0000'0081)),
                 static_cast<const GS::UniString*>(address(0x1888'0000'0082)),
                 static_cast<GSHandle*>(address(0x1888'0000'0083)));
         },
         {"ObjectModify", {tokenWord, 0x1888'0000'0081, 0x1888'0000'0082, 0x1888'0000'0083}}},
        {HostSlot::ObjectFind,
         [&] {
             return SlotAt<HostObjectFindProc>(table, HostSlot::ObjectFind)(
                 token, static_cast<const GS::UniString*>(address(0x1999'0000'0091)),
                 static_cast<GS::Guid*>(address(0x1999'0000'0092)));
         },
         {"ObjectFind", {tokenWord, 0x1999'0000'0091, 0x1999'0000'0092}}},
    };
    GSErrCode answer = 0x7100;
    for (const Call& call : calls) {
        operations.reached.clear();
        operations.answer = ++answer;
        EXPECT_EQ(call.call(), answer) << call.expected.operation;
        EXPECT_EQ(operations.reached, std::vector<Reached>{call.expected})
            << "slot 0x" << std::hex << call.slot;
    }
}

TEST_F(HostTableTest, ASlotCalledWithoutAHostAnswersTheGenericError) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    SetActiveHostOperations(nullptr);
    EXPECT_EQ(SlotAt<HostObjectFindProc>(table, 0x1080)(nullptr, nullptr, nullptr), GSErr::Generic);
}

namespace {

// Every operation runs out of memory: the add-on gets the operation's failure, never an exception
// unwinding into its own frames.
class ExhaustedOperations : public HostOperations {
public:
    GSErrCode MenuRegister(const MenuRegistrationRecord*) override { throw std::bad_alloc(); }
    GSErrCode MenuHandlerInstall(AddOnToken, Int16, MenuCommandHandlerProc) override {
        throw std::bad_alloc();
    }
    GSErrCode Environment(AddOnToken, Int32, void*, void*, void*) override { throw std::bad_alloc(); }
    GSErrCode Automate(AddOnToken, Int32, void*, void*, void*) override { throw std::bad_alloc(); }
    GSErrCode CommandCall(AddOnToken, const AddOnModuleId*, UInt32, UInt32, void*, void*, bool) override {
        throw std::bad_alloc();
    }
    GSErrCode ObjectCreate(AddOnToken, const GS::UniString*, GSHandle*, GS::Guid*) override {
        throw std::bad_alloc();
    }
    GSErrCode ObjectRead(AddOnToken, const GS::Guid*, GS::UniString*, GSHandle*) override {
        throw std::bad_alloc();
    }
    GSErrCode ObjectModify(AddOnToken, const GS::Guid*, const GS::UniString*, GSHandle*) override {
        throw std::bad_alloc();
    }
    GSErrCode ObjectFind(AddOnToken, const GS::UniString*, GS::Guid*) override { throw std::bad_alloc(); }
};

// Calls every slot of the table that an operation answers, with null arguments, in table order.
std::vector<GSErrCode> CallEverySlot(const HostFunctionTableBytes& table) {
    return {
        SlotAt<HostMenuRegisterProc>(table, 0x28)(nullptr),
        SlotAt<HostMenuHandlerInstallProc>(table, 0xD0)(nullptr, 1, nullptr),
        SlotAt<HostEnvironmentProc>(table, 0x280)(nullptr, 0, nullptr, nullptr, nullptr),
        SlotAt<HostAutomateProc>(table, 0x298)(nullptr, 0, nullptr, nullptr, nullptr),
        SlotAt<HostCommandCallProc>(table, 0xAC8)(nullptr, nullptr, 0, 0, nullptr, nullptr, false),
        SlotAt<HostObjectCreateProc>(table, 0x1048)(nullptr, nullptr, nullptr, nullptr),
        SlotAt<HostObjectReadProc>(table, 0x1058)(nullptr, nullptr, nullptr, nullptr),
        SlotAt<HostObjectModifyProc>(table, 0x1060)(nullptr, nullptr, nullptr, nullptr),
        SlotAt<HostObjectFindProc>(table, 0x1080)(nullptr, nullptr, nullptr),
    };
}

TEST(HostTableMemory, EverySlotTurnsRunningOutOfMemoryIntoTheOutOfMemoryCode) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    ExhaustedOperations exhausted;
    SetActiveHostOperations(&exhausted);
    const std::vector<GSErrCode> answers = CallEverySlot(table);
    SetActiveHostOperations(nullptr);
    for (const GSErrCode answer : answers) {
        EXPECT_EQ(answer, GSErr::OutOfMemory);
    }
}

// Counts what the host's call timer is told and how deep in host services it is.
class ServiceTimer : public GS::CallTimer {
public:
    void Entered(const char* operation) override {
        entered.emplace_back(operation);
        depth += std::string(operation) == HostServiceOperation ? 1 : 0;
    }
    void Left(const char* operation) override {
        left.emplace_back(operation);
        depth -= std::string(operation) == HostServiceOperation ? 1 : 0;
    }
    std::vector<std::string> entered;
    std::vector<std::string> left;
    int depth = 0;
};

ServiceTimer* installedTimer = nullptr;

// Registers menus inside the timer's view of a host service; everything else runs out of memory.
class DepthProbingOperations : public ExhaustedOperations {
public:
    GSErrCode MenuRegister(const MenuRegistrationRecord*) override {
        depthSeen = installedTimer->depth;
        return NoError;
    }
    int depthSeen = -1;
};

// The timings count a service's time as the host's work for the add-on: every slot must show its
// whole answer to the call timer as one host service, also when the answer fails by running out of
// memory, and a slot that no host answers too.
TEST(HostTableTiming, EverySlotAnswersInsideOneTimedHostService) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    ServiceTimer timer;
    installedTimer = &timer;
    DepthProbingOperations operations;
    SetActiveHostOperations(&operations);
    GS::SetCallTimer(&timer);
    const std::vector<GSErrCode> answers = CallEverySlot(table);
    SetActiveHostOperations(nullptr);
    const GSErrCode unanswered = SlotAt<HostObjectFindProc>(table, 0x1080)(nullptr, nullptr, nullptr);
    GS::SetCallTimer(nullptr);
    installedTimer = nullptr;

    EXPECT_EQ(answers[0], NoError);
    EXPECT_EQ(operations.depthSeen, 1);
    EXPECT_EQ(answers[8], GSErr::OutOfMemory);
    EXPECT_EQ(unanswered, GSErr::Generic);
    const std::vector<std::string> tenServices(10, HostServiceOperation);
    EXPECT_EQ(timer.entered, tenServices);
    EXPECT_EQ(timer.left, tenServices);
    EXPECT_EQ(timer.depth, 0);
}

} // namespace
