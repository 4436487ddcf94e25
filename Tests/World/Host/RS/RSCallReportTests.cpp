#include "CallMonitor.hpp"
#include "RSTestModules.hpp"

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
    EXPECT_EQ(monitor.calls,
              (std::vector<std::string>{
                  "RSGetIndString_ParamAdapter list=32300 index=3 module=" + moduleText + " type=0",
                  "RSGetIndString_ParamAdapter list=32300 index=-1 module=" + moduleText + " type=0",
              }));
    EXPECT_EQ(
        monitor.results,
        (std::vector<std::string>{
            "RSGetIndString_ParamAdapter found=true text=\"Please make sure you have installed VELD Engineer "
            "(version xx or above).\"",
            "RSGetIndString_ParamAdapter found=false",
        }));
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
