#include "Array.hpp"
#include "SafCommands.hpp"
#include "Services/HostServices.hpp"
#include "TranscriptFile.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace HostSim;

namespace {

// A started add-on without a module, calling the host's command call operation.
class SafRouting : public ::testing::Test {
protected:
    void SetUp() override {
        auto created = std::make_unique<AddOn>();
        created->name = "Caller";
        created->owner = GS::MemoryManager::RegisterOwner("Caller");
        addOn = &addOns.Add(std::move(created));
        addOn->lifecycle.TableSet();
        for (EntryPoint entry : {EntryPoint::Describe, EntryPoint::Register, EntryPoint::Start}) {
            addOn->lifecycle.EntryCalled(entry);
            addOn->lifecycle.EntryAnswered(entry, 0);
        }
        token = addOns.IssueToken(*addOn);
    }
    void TearDown() override { std::filesystem::remove_all(home); }

    GSErrCode Call(const AddOnModuleId& target, const char (&command)[5], UInt32 version, void* parameter,
                   void* result) {
        AddOnDirectory::CallScope scope(addOns, *addOn, addOn->owner);
        return services.CommandCall(token, &target, FourLetterCode(command), version, parameter, result,
                                    true);
    }

    std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("hostsim-saf-" + std::to_string(std::random_device()()));
    TranscriptFile transcript;
    FaultPlan faults;
    AddOnDirectory addOns;
    MenuBook menus;
    ObjectStore objects;
    LibraryCallRecorder recorder{transcript.Get(), faults, [] { return std::string(); }};
    std::map<Int32, std::string> folders;
    std::ostringstream console;
    SAF::SafAddOn saf{home};
    HostServices services{
        HostWorld{transcript.Get(), faults, addOns, menus, objects, recorder, folders, console, &saf}};
    AddOn* addOn = nullptr;
    AddOnToken token = nullptr;
};

TEST_F(SafRouting, CallsToTheSafIdentifierReachTheSafAddOnAndAreRecorded) {
    void* handle = nullptr;
    ASSERT_EQ(Call(SAF::ModuleId, "LADA", 12345, &handle, nullptr), NoError);
    GS::Array<GS::UniString> names;
    ASSERT_EQ(Call(SAF::ModuleId, "GTRS", 1, &names, handle), NoError);
    EXPECT_EQ(names.GetSize(), 3u);
    ASSERT_EQ(Call(SAF::ModuleId, "FADA", 12345, &handle, nullptr), NoError);

    const std::vector<Json> calls = transcript.Events("command-call");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0]["module"], "Caller");
    EXPECT_EQ(calls[0]["target"], Json::array({"0x47242F2E", "0x8D897D96"}));
    EXPECT_EQ(calls[0]["command"], "LADA");
    EXPECT_EQ(calls[0]["version"], 12345);
    EXPECT_EQ(calls[1]["command"], "GTRS");
    EXPECT_EQ(calls[1]["count"], 3);
    EXPECT_EQ(calls[2]["handle"], calls[0]["handle"]);
    EXPECT_EQ(calls[2]["result"], 0);
    EXPECT_EQ(transcript.Events("host-call").size(), 3u);
    EXPECT_TRUE(saf.OpenHandles().empty());
}

TEST_F(SafRouting, AnyOtherIdentifierFailsWithoutReachingTheSafAddOn) {
    void* handle = nullptr;
    for (const AddOnModuleId& other : {AddOnModuleId{0x47242F2E, 0}, AddOnModuleId{0x8D897D96, 0x47242F2E},
                                       AddOnModuleId{0, 0x8D897D96}}) {
        EXPECT_EQ(Call(other, "LADA", 12345, &handle, nullptr), GSErr::NotFound);
    }
    EXPECT_EQ(handle, nullptr);
    EXPECT_TRUE(saf.OpenHandles().empty());
    const std::vector<Json> calls = transcript.Events("command-call");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0]["reason"], "no add-on with that module identifier answers command calls");
}

TEST_F(SafRouting, AFailedCommandCallOperationNeverReachesTheSafAddOn) {
    faults.Add({"HostCommandCall", 0x1234, std::nullopt});
    void* handle = nullptr;
    EXPECT_EQ(Call(SAF::ModuleId, "LADA", 12345, &handle, nullptr), 0x1234);
    EXPECT_EQ(handle, nullptr);
    EXPECT_TRUE(saf.OpenHandles().empty());
    EXPECT_TRUE(transcript.Events("command-call").empty());
}

TEST_F(SafRouting, AWrongVersionIsRecordedWithItsReason) {
    void* handle = nullptr;
    EXPECT_EQ(Call(SAF::ModuleId, "LADA", 1, &handle, nullptr), SAF::Err::WrongVersion);
    const std::vector<Json> calls = transcript.Events("command-call");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]["reason"], "version 1 where 12345 is expected");
    EXPECT_EQ(calls[0]["resultHex"], "0x81061002");
}

} // namespace
