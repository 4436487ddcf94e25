#include "Handles.hpp"
#include "Location.hpp"
#include "Services/HostErrors.hpp"
#include "Services/HostServices.hpp"
#include "TranscriptFile.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

using namespace HostSim;

namespace {

// The host hands folders over as native paths, so the export folder is written the way this
// platform writes an absolute path.
#ifdef _WIN32
constexpr const char* ExportFolder = "C:\\data\\Export";
#else
constexpr const char* ExportFolder = "/data/Export";
#endif

// A host world with one add-on, started as the host starts it, but without a module behind it.
class HostServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        addOn = &AddStartedAddOn("Sample");
        token = addOn->token;
    }

    AddOn& AddStartedAddOn(const std::string& name) {
        auto created = std::make_unique<AddOn>();
        created->name = name;
        created->owner = GS::MemoryManager::RegisterOwner(name.c_str());
        AddOn& added = addOns.Add(std::move(created));
        added.lifecycle.TableSet();
        for (EntryPoint entry : {EntryPoint::Describe, EntryPoint::Register, EntryPoint::Start}) {
            added.lifecycle.EntryCalled(entry);
            added.lifecycle.EntryAnswered(entry, 0);
        }
        addOns.IssueToken(added);
        return added;
    }

    // Runs `call` as the add-on would: from inside a host call into it.
    template <typename Call>
    GSErrCode AsAddOn(AddOn& caller, Call call) {
        AddOnDirectory::CallScope scope(addOns, caller, caller.owner);
        return call();
    }
    template <typename Call>
    GSErrCode AsAddOn(Call call) {
        return AsAddOn(*addOn, call);
    }

    std::vector<Json> Violations() const { return transcript.Events("lifecycle-violation"); }

    TranscriptFile transcript;
    FaultPlan faults;
    AddOnDirectory addOns;
    MenuBook menus;
    ObjectStore objects;
    LibraryCallRecorder recorder{transcript.Get(), faults, [] { return std::string(); }};
    std::map<Int32, std::string> folders{{7, ExportFolder}};
    std::ostringstream console;
    HostServices services{
        HostWorld{transcript.Get(), faults, addOns, menus, objects, recorder, folders, console}};
    AddOn* addOn = nullptr;
    AddOnToken token = nullptr;
};

GSHandle HandleWith(const char* text) {
    GSHandle handle = nullptr;
    EXPECT_EQ(BMPtrToHandle(text, &handle, static_cast<GSSize>(std::strlen(text))), NoError);
    return handle;
}

std::string TextOf(GSConstHandle handle) {
    return std::string(*handle, static_cast<std::size_t>(BMGetHandleSize(handle)));
}

} // namespace

TEST_F(HostServicesTest, AnObjectIsFoundReadAndModifiedByItsGuid) {
    const GS::UniString name("VELDExportTranslatorName");
    GS::Guid guid(1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(token, &name, &guid); }), NoError);
    EXPECT_TRUE(guid.IsNull()) << "no object yet: success with the null GUID";

    GSHandle content = HandleWith("Default");
    EXPECT_EQ(AsAddOn([&] { return services.ObjectCreate(token, &name, &content, &guid); }), NoError);
    BMKillHandle(&content);
    EXPECT_FALSE(guid.IsNull());

    GS::Guid found;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(token, &name, &found); }), NoError);
    EXPECT_EQ(found, guid);

    GSHandle replacement = HandleWith("Structural");
    const GS::UniString sameName("VELDExportTranslatorName");
    EXPECT_EQ(AsAddOn([&] { return services.ObjectModify(token, &guid, &sameName, &replacement); }), NoError);
    BMKillHandle(&replacement);

    GS::UniString readName;
    GSHandle readContent = nullptr;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectRead(token, &guid, &readName, &readContent); }), NoError);
    ASSERT_NE(readContent, nullptr);
    EXPECT_EQ(TextOf(readContent), "Structural");
    EXPECT_EQ(readName, name);
    BMKillHandle(&readContent);

    std::vector<Json> calls = transcript.Events("host-call");
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1]["op"], "HostObjectCreate");
    EXPECT_EQ(calls[1]["arguments"]["name"], "VELDExportTranslatorName");
    EXPECT_EQ(calls[1]["arguments"]["contentHex"], "44656661756c74");
    EXPECT_EQ(calls[1]["module"], "Sample");
}

TEST_F(HostServicesTest, WhatTheHostHandsOutCountsToTheHostNotToTheCaller) {
    const GS::UniString name("Object");
    GSHandle content = HandleWith("x");
    GS::Guid guid;
    AsAddOn([&] { return services.ObjectCreate(token, &name, &content, &guid); });
    BMKillHandle(&content);

    const UInt64 before = GS::MemoryManager::GetLiveBlockCount(addOn->owner);
    GS::UniString readName;
    GSHandle readContent = nullptr;
    AsAddOn([&] { return services.ObjectRead(token, &guid, &readName, &readContent); });
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(addOn->owner), before);
    BMKillHandle(&readContent);
}

TEST_F(HostServicesTest, ReadingAnUnknownObjectFailsAndTouchesNothing) {
    GS::Guid unknown = GS::Guid::Generate();
    GS::UniString name("untouched");
    GSHandle content = nullptr;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectRead(token, &unknown, &name, &content); }),
              GSErr::NotFound);
    EXPECT_EQ(name, GS::UniString("untouched"));
    EXPECT_EQ(content, nullptr);
    GSHandle replacement = HandleWith("y");
    EXPECT_EQ(AsAddOn([&] { return services.ObjectModify(token, &unknown, &name, &replacement); }),
              GSErr::NotFound);
    BMKillHandle(&replacement);
}

TEST_F(HostServicesTest, SpecialFolderSevenIsTheExportFolderAndOtherRequestsFail) {
    Int32 number = 7;
    IO::Location folder;
    EXPECT_EQ(AsAddOn([&] { return services.Environment(token, 0x47535046, &number, &folder, nullptr); }),
              NoError);
    GS::UniString path;
    folder.ToPath(&path);
    EXPECT_EQ(path, GS::UniString(ExportFolder));

    number = 8;
    IO::Location untouched(GS::UniString("/keep"));
    EXPECT_EQ(AsAddOn([&] { return services.Environment(token, 0x47535046, &number, &untouched, nullptr); }),
              GSErr::NotFound);
    EXPECT_EQ(AsAddOn([&] { return services.Environment(token, 0x41424344, &number, &untouched, nullptr); }),
              GSErr::BadParameter);
    EXPECT_EQ(untouched, IO::Location(GS::UniString("/keep")));
    EXPECT_EQ(transcript.Events("host-call")[0]["arguments"]["code"], "GSPF");
    EXPECT_EQ(transcript.Events("host-call")[0]["arguments"]["folder"], ExportFolder);
}

TEST_F(HostServicesTest, SavingAndCommandCallsAreNotAvailableInThisHostBuild) {
    EXPECT_EQ(AsAddOn([&] { return services.Automate(token, 0x53415645, nullptr, nullptr, nullptr); }),
              RequestNotAvailable);
    const AddOnModuleId saf{0x1234, 0x5678};
    EXPECT_EQ(
        AsAddOn([&] { return services.CommandCall(token, &saf, 0x4C414441, 1, nullptr, nullptr, true); }),
        GSErr::NotFound);
    std::vector<Json> calls = transcript.Events("host-call");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1]["arguments"]["command"], "LADA");
    EXPECT_TRUE(Violations().empty());
}

TEST_F(HostServicesTest, TokensThatAreNotTheCallersOwnAreRefusedAndReported) {
    AddOn& other = AddStartedAddOn("Other");
    const GS::UniString name("x");
    GS::Guid guid;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(nullptr, &name, &guid); }), GSErr::BadParameter);
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(other.token, &name, &guid); }), GSErr::BadParameter);
    const auto forged = reinterpret_cast<AddOnToken>(0x99);
    EXPECT_EQ(AsAddOn([&] { return services.MenuHandlerInstall(forged, 1, nullptr); }), GSErr::BadParameter);
    EXPECT_EQ(services.ObjectFind(token, &name, &guid), GSErr::BadParameter) << "not from inside a call";

    std::vector<Json> violations = Violations();
    ASSERT_EQ(violations.size(), 4u);
    EXPECT_EQ(violations[0]["message"], "HostObjectFind with a null token");
    EXPECT_EQ(violations[1]["message"], "HostObjectFind with the token of add-on Other");
    EXPECT_EQ(violations[2]["message"], "HostMenuHandlerInstall with unknown token 0x99");
    EXPECT_EQ(violations[3]["message"], "HostObjectFind called while the host is not calling any add-on");
    EXPECT_EQ(services.ViolationCount(), 4u);
}

TEST_F(HostServicesTest, AReleasedAddOnsTokenIsNoLongerAccepted) {
    addOn->lifecycle.EntryCalled(EntryPoint::Release);
    addOn->lifecycle.EntryAnswered(EntryPoint::Release, 0);
    const GS::UniString name("x");
    GS::Guid guid;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(token, &name, &guid); }), GSErr::BadParameter);
    ASSERT_EQ(Violations().size(), 1u);
    EXPECT_EQ(Violations()[0]["state"], "released");
}

TEST_F(HostServicesTest, InjectedFailuresAnswerWithoutDoingAnything) {
    faults.Add({"HostObjectFind", 7, 2});
    const GS::UniString name("x");
    GSHandle content = HandleWith("c");
    GS::Guid created;
    AsAddOn([&] { return services.ObjectCreate(token, &name, &content, &created); });
    BMKillHandle(&content);

    GS::Guid found;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(token, &name, &found); }), NoError);
    EXPECT_EQ(found, created);
    GS::Guid untouched;
    EXPECT_EQ(AsAddOn([&] { return services.ObjectFind(token, &name, &untouched); }), 7);
    EXPECT_TRUE(untouched.IsNull());
    EXPECT_EQ(transcript.Events("host-call").back()["injected"], true);
}

TEST_F(HostServicesTest, MenusRegisterOnlyInsideRegisterAndHandlersOnlyForStartedAddOns) {
    MenuRegistrationRecord record{};
    record.menuListId = 32500;
    EXPECT_EQ(AsAddOn([&] { return services.MenuRegister(&record); }), GSErr::BadParameter);
    ASSERT_EQ(Violations().size(), 1u);

    auto handler = [](const MenuCommandRecord*) -> GSErrCode { return 0; };
    EXPECT_EQ(AsAddOn([&] { return services.MenuHandlerInstall(token, 32500, handler); }), NoError);
    ASSERT_NE(menus.HandlerFor(32500), nullptr);
    EXPECT_EQ(menus.HandlerFor(32500)->addOn, addOn);
    EXPECT_EQ(menus.HandlerFor(32600), nullptr);
}

TEST_F(HostServicesTest, AMenuWhoseListTheModuleLacksIsRefused) {
    AddOn& registering = AddStartedAddOn("Registering");
    registering.lifecycle = AddOnLifecycle();
    registering.lifecycle.TableSet();
    registering.lifecycle.EntryCalled(EntryPoint::Describe);
    registering.lifecycle.EntryAnswered(EntryPoint::Describe, 1);
    registering.lifecycle.EntryCalled(EntryPoint::Register);
    MenuRegistrationRecord record{};
    record.menuListId = 32500;
    record.promptListId = 32600;
    record.menuCode = 18;
    EXPECT_EQ(AsAddOn(registering, [&] { return services.MenuRegister(&record); }), GSErr::NotFound);
    EXPECT_TRUE(Violations().empty());
    std::vector<Json> registrations = transcript.Events("menu-register");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0]["error"], "the module has no texts in string list 32500");
    EXPECT_TRUE(menus.Menus().empty());
}
