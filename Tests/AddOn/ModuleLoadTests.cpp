// Load and unload of the module: this test executable plays the module, so its static objects ran
// the load step at start-up, and a test may run unload and load again through DllMain.

#include "BoundAddOn.hpp"
#include "HostObservers.hpp"
#include "ModuleAddress.hpp"
#include "UniStringPrinting.hpp"
#include "UtilityFunctions.hpp"

#include "XercescInitializer.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

namespace {
HINSTANCE ThisModule() {
    return TestSupport::ModuleContaining(reinterpret_cast<const void*>(&DllMain));
}

std::string ThisModulePath() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    return GS::UniString(reinterpret_cast<const char16_t*>(path)).ToUTF8().Get();
}

// Unloads the module for the rest of the scope and loads it again at the end, whatever the test
// found, so that later tests meet a loaded module.
class UnloadedModule {
public:
    UnloadedModule() : unloadResult(DllMain(ThisModule(), DLL_PROCESS_DETACH, nullptr)) {}
    ~UnloadedModule() { DllMain(ThisModule(), DLL_PROCESS_ATTACH, nullptr); }
    UnloadedModule(const UnloadedModule&) = delete;
    UnloadedModule& operator=(const UnloadedModule&) = delete;

    const BOOL unloadResult;
};
} // namespace

TEST(ModuleLoad, StartUpBuiltTheConstantsAndOpenedTheResources) {
    EXPECT_EQ(TranslatorObjectName, GS::UniString("VELDExportTranslatorName"));
    EXPECT_EQ(WorkbookFileName, GS::UniString("ACToVELDEngineer.xlsx"));
    EXPECT_EQ(InfoDialogKey, GS::UniString("VELDEXPORTERINVOKEINFORMATIONDIALOG"));
    EXPECT_TRUE(GSXML::XercescInitializer::IsInitialised());
    EXPECT_NE(GetResourceModule(), InvalidResModule);
}

TEST(ModuleLoad, UnloadClosesTheResourceModuleOnceAndAnotherUnloadClosesNothing) {
    const GSResModule opened = GetResourceModule();
    HostLibraryCalls calls;
    {
        UnloadedModule unloaded;
        EXPECT_EQ(DllMain(ThisModule(), DLL_PROCESS_DETACH, nullptr), TRUE);
    }
    const std::vector<std::string> expected = {"module=" + std::to_string(opened)};
    EXPECT_EQ(calls.DetailsOf("RSRemoveModuleImageCache"), expected);
}

TEST_F(BoundAddOn, UnloadAfterStartWithoutReleaseWritesOneAbnormalTerminationLine) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    DebugOutputCapture output;
    {
        UnloadedModule unloaded;
        EXPECT_EQ(unloaded.unloadResult, TRUE);
        EXPECT_EQ(GetAddOnToken(), nullptr);
        EXPECT_EQ(GetResourceModule(), InvalidResModule);
    }
    const std::vector<std::string> expected = {"Abnormal add-on termination (\"" + ThisModulePath() + "\")",
                                               "\n"};
    EXPECT_EQ(output.Pieces(), expected);
    EXPECT_NE(GetResourceModule(), InvalidResModule);
}

TEST_F(BoundAddOn, UnloadAfterReleaseWritesNothing) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    ASSERT_EQ(AddOnRelease(), NoError);
    DebugOutputCapture output;
    {
        UnloadedModule unloaded;
        EXPECT_EQ(unloaded.unloadResult, TRUE);
    }
    EXPECT_TRUE(output.Pieces().empty());
}

TEST_F(BoundAddOn, ThreadAttachAndDetachChangeNothing) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    const GSResModule resources = GetResourceModule();
    DebugOutputCapture output;
    EXPECT_EQ(DllMain(ThisModule(), DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(DllMain(ThisModule(), DLL_THREAD_DETACH, nullptr), TRUE);
    EXPECT_EQ(GetAddOnToken(), HostToken());
    EXPECT_EQ(GetResourceModule(), resources);
    EXPECT_TRUE(output.Pieces().empty());
}

TEST(ResourceModuleDeathTest, TheDialogResourceModuleKeepsTheValueItFirstTook) {
    // Other tests reach dialogs, and so the cache, first: the first call is made in a fresh process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const GSResModule first = GetDialogResourceModule();
            bool kept = first == GetResourceModule() && first != InvalidResModule;
            {
                UnloadedModule unloaded;
                kept = kept && GetResourceModule() == InvalidResModule && GetDialogResourceModule() == first;
            }
            kept = kept && GetDialogResourceModule() == first;
            std::exit(kept ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ResourceStrings, AlertTextsComeFromTheAlertStringList) {
    EXPECT_EQ(GetResourceString(2), GS::UniString("No supported VELD Engineer version available."));
    EXPECT_EQ(GetResourceString(12), GS::UniString("Cancel"));
    EXPECT_EQ(GetResourceString(13),
              GS::UniString("The chosen translator could not be stored in the project."));
    EXPECT_TRUE(GetResourceString(15).IsEmpty());
}

TEST(ResourceStrings, ANegativeIndexReachesTheHostNegative) {
    HostLibraryCalls calls;
    EXPECT_TRUE(GetResourceString(-2).IsEmpty());
    const std::vector<std::string> details = calls.DetailsOf("RSGetIndString_ParamAdapter");
    ASSERT_EQ(details.size(), 1u);
    EXPECT_NE(details[0].find("index=-2"), std::string::npos) << details[0];
}
