#include "CallMonitor.hpp"
#include "RSTestModules.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using RSTest::Text;
using RSTest::TextByPointer;

constexpr GSErrCode Refusal = GSErr::IOError;

// Records every report; makes the operation named `failing` fail.
class RecordingMonitor : public GS::CallMonitor {
public:
    GSErrCode OnCall(const char* operation, const char* details) override {
        calls.push_back(std::string(operation) + " " + details);
        return failing == operation ? Refusal : NoError;
    }
    void OnResult(const char* operation, const char* result) override {
        results.push_back(std::string(operation) + " " + result);
    }

    std::string failing;
    std::vector<std::string> calls;
    std::vector<std::string> results;
};

class RSCallReports : public testing::Test {
protected:
    void SetUp() override { GS::SetCallMonitor(&monitor); }
    void TearDown() override {
        GS::SetCallMonitor(nullptr);
        RSRemoveModuleImageCache(module);
    }

    void OpenProgramResources() {
        GS::SetCallMonitor(nullptr);
        module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
        GS::SetCallMonitor(&monitor);
        ASSERT_GE(module, 1);
    }

    RecordingMonitor monitor;
    GSResModule module = InvalidResModule;
};

TEST_F(RSCallReports, OpeningNamesTheModuleFileAndTheNewModule) {
    module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
    ASSERT_GE(module, 1);
    EXPECT_EQ(monitor.calls, (std::vector<std::string>{"RSInitModuleImageCache file=\"" +
                                                       std::string(RSTest::ProgramFileName) + "\""}));
    EXPECT_EQ(monitor.results,
              (std::vector<std::string>{"RSInitModuleImageCache module=" + std::to_string(module)}));
}

TEST_F(RSCallReports, RefusedOpeningGivesMinusOne) {
    monitor.failing = "RSInitModuleImageCache";
    EXPECT_EQ(RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8)), InvalidResModule);
    EXPECT_EQ(monitor.results,
              (std::vector<std::string>{"RSInitModuleImageCache module=-1 code=" + std::to_string(Refusal)}));
}

TEST_F(RSCallReports, LookupNamesListSignedIndexModuleAndText) {
    OpenProgramResources();
    const std::string moduleText = std::to_string(module);
    EXPECT_EQ(Text(module, 32300, 3),
              "Please make sure you have installed VELD Engineer (version xx or above).");
    EXPECT_FALSE(TextByPointer(module, 32300, -1).found);
    // The caller's location follows; the next test reads it.
    EXPECT_THAT(
        monitor.calls,
        testing::ElementsAre(testing::StartsWith("RSGetIndString_ParamAdapter list=32300 index=3 module=" +
                                                 moduleText + " type=0 at="),
                             testing::StartsWith("RSGetIndString_ParamAdapter list=32300 index=-1 module=" +
                                                 moduleText + " type=0 at=")));
    EXPECT_EQ(
        monitor.results,
        (std::vector<std::string>{
            "RSGetIndString_ParamAdapter found=true text=\"Please make sure you have installed VELD Engineer "
            "(version xx or above).\"",
            "RSGetIndString_ParamAdapter found=false",
        }));
}

TEST_F(RSCallReports, LookupNamesTheCallersFileWithoutItsFoldersAndItsLine) {
    OpenProgramResources();
    struct Caller {
        const char* file;
        Int32 line;
        const char* shown;
    };
    for (const Caller& caller :
         {Caller{"/home/build/Sources/AddOn/AddOnMain.cpp", 56, "at=AddOnMain.cpp:56"},
          Caller{"C:\\src\\Sources\\AddOn\\UtilityFunctions.cpp", 14, "at=UtilityFunctions.cpp:14"},
          Caller{"Relative.cpp", 1, "at=Relative.cpp:1"}, Caller{nullptr, 7, "at=:7"}}) {
        monitor.calls.clear();
        GS::UniString text;
        RSGetIndString_ParamAdapter(GS::SourceLocation{caller.file, caller.line, "Caller"}, 32300, 1, module,
                                    RST_Default);
        RSGetIndString_ParamAdapter(GS::SourceLocation{caller.file, caller.line, "Caller"}, &text, 32300, 1,
                                    module, RST_Default);
        ASSERT_EQ(monitor.calls.size(), 2u);
        for (const std::string& call : monitor.calls) {
            EXPECT_TRUE(call.ends_with(std::string(" ") + caller.shown)) << call;
        }
    }
}

TEST_F(RSCallReports, RefusedLookupFailsInBothForms) {
    OpenProgramResources();
    monitor.failing = "RSGetIndString_ParamAdapter";
    EXPECT_EQ(Text(module, 32300, 1), "");
    const RSTest::Lookup lookup = TextByPointer(module, 32300, 1);
    EXPECT_FALSE(lookup.found);
    EXPECT_EQ(lookup.text, "");
    const std::string refused = "RSGetIndString_ParamAdapter found=false code=" + std::to_string(Refusal);
    EXPECT_EQ(monitor.results, (std::vector<std::string>{refused, refused}));

    monitor.failing.clear();
    EXPECT_EQ(Text(module, 32300, 1), "OK");
}

TEST_F(RSCallReports, RemovalIsReportedAndARefusedOneKeepsTheModule) {
    OpenProgramResources();
    const std::string moduleText = std::to_string(module);
    monitor.failing = "RSRemoveModuleImageCache";
    RSRemoveModuleImageCache(module);
    monitor.failing.clear();
    EXPECT_EQ(Text(module, 32300, 12), "Cancel");

    RSRemoveModuleImageCache(module);
    EXPECT_EQ(Text(module, 32300, 12), "");
    EXPECT_EQ(monitor.calls[0], "RSRemoveModuleImageCache module=" + moduleText);
    EXPECT_EQ(monitor.results[0], "RSRemoveModuleImageCache removed=false code=" + std::to_string(Refusal));
    EXPECT_EQ(monitor.results[2], "RSRemoveModuleImageCache removed=true");
}

} // namespace
