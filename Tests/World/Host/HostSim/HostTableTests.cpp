#include "Services/HostTable.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

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

// Remembers what reached it and answers with a code that names the operation.
class RecordingOperations : public HostOperations {
public:
    GSErrCode MenuRegister(const MenuRegistrationRecord* record) override {
        lastRecord = record;
        return 1;
    }
    GSErrCode MenuHandlerInstall(AddOnToken token, Int16 menuListId, MenuCommandHandlerProc) override {
        lastToken = token;
        lastList = menuListId;
        return 2;
    }
    GSErrCode Environment(AddOnToken, Int32 code, void*, void*, void*) override {
        lastCode = code;
        return 3;
    }
    GSErrCode Automate(AddOnToken, Int32 code, void*, void*, void*) override {
        lastCode = code;
        return 4;
    }
    GSErrCode CommandCall(AddOnToken, const AddOnModuleId*, UInt32 command, UInt32 version, void*, void*,
                          bool silent) override {
        lastCode = static_cast<Int32>(command + version);
        lastSilent = silent;
        return 5;
    }
    GSErrCode ObjectCreate(AddOnToken, const GS::UniString* name, GSHandle*, GS::Guid*) override {
        lastName = name;
        return 6;
    }
    GSErrCode ObjectRead(AddOnToken, const GS::Guid*, GS::UniString*, GSHandle*) override { return 7; }
    GSErrCode ObjectModify(AddOnToken, const GS::Guid*, const GS::UniString*, GSHandle*) override {
        return 8;
    }
    GSErrCode ObjectFind(AddOnToken, const GS::UniString* name, GS::Guid*) override {
        lastName = name;
        return 9;
    }

    const MenuRegistrationRecord* lastRecord = nullptr;
    AddOnToken lastToken = nullptr;
    Int16 lastList = 0;
    Int32 lastCode = 0;
    bool lastSilent = false;
    const GS::UniString* lastName = nullptr;
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

TEST_F(HostTableTest, EachSlotReachesItsOwnOperationWithTheArgumentsUnchanged) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    MenuRegistrationRecord record{};
    EXPECT_EQ(SlotAt<HostMenuRegisterProc>(table, 0x28)(&record), 1);
    EXPECT_EQ(operations.lastRecord, &record);

    const auto token = reinterpret_cast<AddOnToken>(0x1234);
    EXPECT_EQ(SlotAt<HostMenuHandlerInstallProc>(table, 0xD0)(token, 32500, nullptr), 2);
    EXPECT_EQ(operations.lastToken, token);
    EXPECT_EQ(operations.lastList, 32500);

    EXPECT_EQ(SlotAt<HostEnvironmentProc>(table, 0x280)(token, 0x47535046, nullptr, nullptr, nullptr), 3);
    EXPECT_EQ(operations.lastCode, 0x47535046);
    EXPECT_EQ(SlotAt<HostAutomateProc>(table, 0x298)(token, 0x53415645, nullptr, nullptr, nullptr), 4);
    EXPECT_EQ(operations.lastCode, 0x53415645);
    EXPECT_EQ(SlotAt<HostCommandCallProc>(table, 0xAC8)(token, nullptr, 40, 2, nullptr, nullptr, true), 5);
    EXPECT_EQ(operations.lastCode, 42);
    EXPECT_TRUE(operations.lastSilent);

    GS::UniString name;
    EXPECT_EQ(SlotAt<HostObjectCreateProc>(table, 0x1048)(token, &name, nullptr, nullptr), 6);
    EXPECT_EQ(SlotAt<HostObjectReadProc>(table, 0x1058)(token, nullptr, nullptr, nullptr), 7);
    EXPECT_EQ(SlotAt<HostObjectModifyProc>(table, 0x1060)(token, nullptr, nullptr, nullptr), 8);
    EXPECT_EQ(SlotAt<HostObjectFindProc>(table, 0x1080)(token, &name, nullptr), 9);
    EXPECT_EQ(operations.lastName, &name);
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

TEST(HostTableMemory, EverySlotTurnsRunningOutOfMemoryIntoTheOutOfMemoryCode) {
    HostFunctionTableBytes table = BuildHostFunctionTable({});
    ExhaustedOperations exhausted;
    SetActiveHostOperations(&exhausted);
    const GSErrCode answers[] = {
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
    SetActiveHostOperations(nullptr);
    for (const GSErrCode answer : answers) {
        EXPECT_EQ(answer, GSErr::OutOfMemory);
    }
}

} // namespace
