// hostsim's registry on Windows: the system registry itself, as an installer leaves it.
#include "ScenarioHarness.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <optional>

using namespace Scenarios;

namespace {

std::optional<std::wstring> RegistryString(HKEY root, const wchar_t* key, const wchar_t* value) {
    wchar_t text[1024];
    DWORD size = sizeof text;
    if (::RegGetValueW(root, key, value, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

std::optional<DWORD> RegistryDWord(HKEY root, const wchar_t* key, const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (::RegGetValueW(root, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return number;
}

} // namespace

TEST_F(ScenarioTest, AnInstallationLandsInTheMachinesRegistryAndNoStoreFileIsWritten) {
    RegisterInstallation();
    const std::optional<std::wstring> installDir =
        RegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VELD\\Installer\\VeldEngineer\\23.1", L"InstallDir");
    ASSERT_TRUE(installDir.has_value());
    EXPECT_EQ(*installDir, installFolder.wstring());
    EXPECT_FALSE(std::filesystem::exists(home / "Registry" / "LocalMachine.reg"));
}

TEST_F(ScenarioTest, NonAsciiValuesTravelAsUtf16FromTheCommandLineIntoTheRegistry) {
    const std::string folder = "C:\\Pr\xC3\xBC"
                               "fung \xE2\x9C\x93\\VELD \xF0\x9F\x98\x80";
    ASSERT_EQ(RunRegistry({"set-string", "HKLM\\SOFTWARE\\VELD\\Probe", "InstallDir", folder}).exitCode, 0);
    const std::optional<std::wstring> stored =
        RegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VELD\\Probe", L"InstallDir");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*stored, L"C:\\Pr\u00FC"
                       L"fung \u2713\\VELD \U0001F600");
    ProcessResult read = RunRegistry({"get", "HKLM\\SOFTWARE\\VELD\\Probe", "InstallDir"});
    EXPECT_EQ(read.output, folder + "\n");
}

TEST_F(ScenarioTest, CurrentUserValuesLandInTheUsersHiveAndDeleteKeyRemovesThem) {
    ASSERT_EQ(RunRegistry({"set-dword", "HKCU\\Software\\Host\\Dialogs", "Width", "0x2A"}).exitCode, 0);
    EXPECT_EQ(RegistryDWord(HKEY_CURRENT_USER, L"Software\\Host\\Dialogs", L"Width"),
              std::optional<DWORD>(42));
    EXPECT_FALSE(RegistryDWord(HKEY_LOCAL_MACHINE, L"Software\\Host\\Dialogs", L"Width").has_value());
    ASSERT_EQ(RunRegistry({"delete-key", "HKCU\\Software\\Host"}).exitCode, 0);
    EXPECT_FALSE(RegistryDWord(HKEY_CURRENT_USER, L"Software\\Host\\Dialogs", L"Width").has_value());
}

TEST_F(ScenarioTest, ATextFileNamedLikeAModuleGetsTheWindowsLoadersReason) {
    const std::filesystem::path broken = root / "x.apx";
    WriteFile(broken, "this is text, not a module");
    HostSimRun run = RunHostSimOn({broken.string(), AddOnModulePath()}, "");
    EXPECT_EQ(run.exitCode, 1);
    std::vector<Json> loads = run.EventsWhere("module-load", "module", "x");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0]["result"], "failed");
    // ERROR_BAD_EXE_FORMAT: what LoadLibraryW says of a file that is no PE module.
    EXPECT_NE(loads[0]["reason"].get<std::string>().find("(error 193)"), std::string::npos)
        << loads[0]["reason"];
    EXPECT_EQ(run.Entry("start")["result"], 0) << "the good module after it still runs";
}
