#include "FileTests.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using HostTestSupport::RecordingMonitor;
using HostTestSupport::TempFolder;

namespace {
std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

IO::Location LocationOf(const std::filesystem::path& path) {
    return IO::Location(GS::UniString(Utf8(path).c_str(), CC_UTF8));
}

// A path as call reports quote it: backslashes and quotes escaped.
std::string Quoted(const std::filesystem::path& path) {
    std::string quoted = "\"";
    for (const char c : Utf8(path)) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}
} // namespace

TEST(FileExists, TrueOnlyForARegularFile) {
    TempFolder folder;
    folder.WriteFile("VeldEngineer.exe", "program");
    std::filesystem::create_directory(folder.Path() / "a folder");
    EXPECT_TRUE(FileExists(LocationOf(folder.Path() / "VeldEngineer.exe")));
    EXPECT_FALSE(FileExists(LocationOf(folder.Path() / "a folder")));
    EXPECT_FALSE(FileExists(LocationOf(folder.Path() / "missing.exe")));
    EXPECT_FALSE(FileExists(IO::Location()));
}

TEST(FileExists, SpacesQuotesAndNonAsciiAreOrdinaryPathText) {
    TempFolder folder;
    // Single quotes: Windows file names cannot hold double ones.
    const std::filesystem::path inner = folder.Path() / std::u8string(u8"VELD 'Engineer' Ünï ✓");
    std::filesystem::create_directory(inner);
    std::ofstream(inner / "VeldEngineer.exe") << "program";
    IO::Location location = LocationOf(inner);
    ASSERT_EQ(location.AppendToLocal(IO::Name("VeldEngineer.exe")), NoError);
    EXPECT_TRUE(FileExists(location));
}

TEST(FileExists, FollowsASymbolicLinkToAFile) {
    TempFolder folder;
    folder.WriteFile("target.exe", "program");
    std::error_code linkError;
    std::filesystem::create_symlink(folder.Path() / "target.exe", folder.Path() / "link.exe", linkError);
    if (linkError) {
        GTEST_SKIP() << "this file system makes no symbolic links: " << linkError.message();
    }
    std::string throughLink;
    std::getline(std::ifstream(folder.Path() / "link.exe"), throughLink);
    if (throughLink != "program") {
        GTEST_SKIP()
            << "a symbolic link made here cannot be followed (Wine 8 makes them, then cannot open them)";
    }
    std::filesystem::create_symlink(folder.Path() / "gone.exe", folder.Path() / "dangling.exe");
    EXPECT_TRUE(FileExists(LocationOf(folder.Path() / "link.exe")));
    EXPECT_FALSE(FileExists(LocationOf(folder.Path() / "dangling.exe")));
}

TEST(FileExists, IsReportedAndAFailureReadsAsNoFile) {
    TempFolder folder;
    folder.WriteFile("VeldEngineer.exe", "program");
    const IO::Location location = LocationOf(folder.Path() / "VeldEngineer.exe");
    RecordingMonitor monitor;
    EXPECT_TRUE(FileExists(location));
    monitor.failures["FileExists"] = GSErr::IOError;
    EXPECT_FALSE(FileExists(location));

    ASSERT_EQ(monitor.calls.size(), 2u);
    EXPECT_EQ(monitor.calls[0].operation, "FileExists");
    EXPECT_EQ(monitor.calls[0].details, "path=" + Quoted(folder.Path() / "VeldEngineer.exe"));
    ASSERT_EQ(monitor.results.size(), 2u);
    EXPECT_EQ(monitor.results[0].details, "true");
    EXPECT_EQ(monitor.results[1].details, "false");
}

#ifdef _WIN32
// Windows refuses an unprefixed path of MAX_PATH units or more, Wine does not: the host answers as
// Windows does wherever it runs, so that an installation out of reach reads as no installation.
TEST(FileExists, APathOfMaxPathUnitsOrMoreIsFoundOnlyWithTheLongPathPrefix) {
    TempFolder folder;
    const std::string name = "VeldEngineer.exe";
    const auto fileOfLength = [&](std::size_t total) {
        const std::size_t taken = Utf8(folder.Path()).size() + 2 + name.size();
        const std::filesystem::path inner = folder.Path() / std::string(total - taken, 'l');
        // Made through the prefix, which reaches the file on Windows too.
        const std::filesystem::path prefixed = L"\\\\?\\" + inner.wstring();
        std::filesystem::create_directories(prefixed);
        std::ofstream(prefixed / name) << "program";
        return inner / name;
    };
    const std::filesystem::path within = fileOfLength(259);
    const std::filesystem::path past = fileOfLength(260);
    ASSERT_EQ(Utf8(within).size(), 259u);
    ASSERT_EQ(Utf8(past).size(), 260u);
    EXPECT_TRUE(FileExists(LocationOf(within)));
    EXPECT_FALSE(FileExists(LocationOf(past)));
    EXPECT_TRUE(FileExists(LocationOf(L"\\\\?\\" + past.wstring())));
}
#endif
