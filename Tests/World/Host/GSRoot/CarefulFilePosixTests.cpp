#include "CarefulFile.hpp"
#include "FileCreationWatchPosix.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using GS::CarefulFile::ReadOutcome;
using HostTestSupport::TempFolder;
namespace fs = std::filesystem;

bool IsTemporaryOf(const std::string& name, const std::string& target) {
    return name.rfind(target + ".tmp-", 0) == 0;
}

std::size_t TemporaryFilesOf(const TempFolder& folder, const std::string& target) {
    const std::vector<std::string> names = folder.FileNames();
    return static_cast<std::size_t>(std::count_if(
        names.begin(), names.end(), [&](const std::string& name) { return IsTemporaryOf(name, target); }));
}

void RemoveOwnerWrite(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
}

TEST(CarefulFileRead, AnythingButARegularFileIsRefusedWithoutBlocking) {
    TempFolder folder;
    fs::create_directory(folder.Path() / "folder");
    ASSERT_EQ(::mkfifo(folder.FilePath("pipe").c_str(), 0600), 0);
    // A pipe without a writer blocks an ordinary open for ever; /dev/zero never ends.
    for (const fs::path& path : {folder.Path() / "folder", folder.Path() / "pipe", fs::path("/dev/zero")}) {
        std::string bytes = "stale";
        std::string error;
        EXPECT_EQ(GS::CarefulFile::ReadRegularFile(path, bytes, error), ReadOutcome::Refused) << path;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_TRUE(bytes.empty());
    }
    std::string bytes, error;
    EXPECT_EQ(GS::CarefulFile::ReadRegularFile(folder.Path() / "missing", bytes, error),
              ReadOutcome::Missing);
    folder.WriteFile("file", "contents");
    EXPECT_EQ(GS::CarefulFile::ReadRegularFile(folder.Path() / "file", bytes, error), ReadOutcome::Read);
    EXPECT_EQ(bytes, "contents");
}

TEST(CarefulFileReplace, ReadOnlyMarksOnTheFileOrItsFolderRefuseTheWrite) {
    TempFolder folder;
    folder.WriteFile("project.json", "old");
    const fs::path target = folder.Path() / "project.json";
    std::string error;

    RemoveOwnerWrite(target);
    const fs::perms before = fs::status(target).permissions();
    EXPECT_FALSE(GS::CarefulFile::ReplaceFile(target, "new", error));
    EXPECT_NE(error.find("is marked read-only"), std::string::npos) << error;
    EXPECT_EQ(folder.ReadFile("project.json"), "old");
    EXPECT_EQ(fs::status(target).permissions(), before);

    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    RemoveOwnerWrite(folder.Path());
    error.clear();
    EXPECT_FALSE(GS::CarefulFile::ReplaceFile(target, "new", error));
    EXPECT_NE(error.find("its folder"), std::string::npos) << error;
    GS::CarefulFile::UpdateLock lock;
    EXPECT_FALSE(lock.Acquire(target, error));
    EXPECT_EQ(folder.ReadFile("project.json"), "old");
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"project.json"});
}

TEST(CarefulFileReplace, AFolderInTheTargetsPlaceIsRefused) {
    TempFolder folder;
    fs::create_directory(folder.Path() / "Translators.json");
    std::string error;
    EXPECT_FALSE(GS::CarefulFile::ReplaceFile(folder.Path() / "Translators.json", "[]", error));
    EXPECT_NE(error.find("a folder"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folder.Path() / "Translators.json"));
}

// A write to a symbolic link goes to the file it names, through any chain of links, and the links
// stay links; a loop of links is refused and changes nothing.
TEST(CarefulFileReplace, ASymbolicLinkIsWrittenThroughToTheFileItNames) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links; // link name, what it names
        const char* file;                                       // the file written, "" when refused
        const char* error;
    } cases[] = {
        {"a link beside its file", {{"project.json", "real.json"}}, "real.json", ""},
        {"a link into a subfolder", {{"project.json", "sub/real.json"}}, "sub/real.json", ""},
        {"an absolute link", {{"project.json", "@/sub/real.json"}}, "sub/real.json", ""},
        {"a chain of two links",
         {{"project.json", "middle.json"}, {"middle.json", "sub/real.json"}},
         "sub/real.json",
         ""},
        {"a link to a file not yet made", {{"project.json", "sub/new.json"}}, "sub/new.json", ""},
        {"a loop of links",
         {{"project.json", "other.json"}, {"other.json", "project.json"}},
         "",
         "symbolic links in a row"},
    };
    for (const auto& [what, links, file, error] : cases) {
        TempFolder folder;
        fs::create_directory(folder.Path() / "sub");
        folder.WriteFile("real.json", "earlier");
        folder.WriteFile("sub/real.json", "earlier");
        for (const auto& [link, named] : links) {
            const fs::path target = named[0] == '@' ? folder.Path() / named.substr(2) : fs::path(named);
            fs::create_symlink(target, folder.Path() / link);
        }
        std::string reason;
        const bool written = GS::CarefulFile::ReplaceFile(folder.Path() / "project.json", "later", reason);
        EXPECT_EQ(written, std::string(error).empty()) << what << ": " << reason;
        EXPECT_NE(reason.find(error), std::string::npos) << what << ": " << reason;
        for (const auto& [link, named] : links) {
            EXPECT_TRUE(fs::is_symlink(folder.Path() / link)) << what << ": " << link;
        }
        for (const char* other : {"real.json", "sub/real.json"}) {
            if (std::string(other) != file) {
                EXPECT_EQ(folder.ReadFile(other), "earlier") << what << ": " << other;
            }
        }
        if (written) {
            EXPECT_EQ(folder.ReadFile(file), "later") << what;
        }
    }
}

TEST(CarefulFileReplace, TheReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    folder.WriteFile("shared.reg", "old");
    const fs::path target = folder.Path() / "shared.reg";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error;
    ASSERT_TRUE(GS::CarefulFile::ReplaceFile(target, "new", error)) << error;
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(folder.ReadFile("shared.reg"), "new");
}

// A child that is killed before it can end: its process id names nobody any more.
pid_t DeadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(CarefulFileReplace, TemporaryFilesOfWritersThatAreGoneAreRemovedByTheNextWrite) {
    TempFolder folder;
    const std::string dead = std::to_string(DeadProcessId());
    const std::string alive = std::to_string(::getpid());
    folder.WriteFile("p.json.tmp-" + dead + "-0", "half");
    folder.WriteFile("p.json.tmp-" + alive + "-99", "in flight");
    folder.WriteFile("other.json.tmp-" + dead + "-0", "another target's");
    folder.WriteFile("p.json.tmp-notours", "not of our naming");
    std::string error;
    ASSERT_TRUE(GS::CarefulFile::ReplaceFile(folder.Path() / "p.json", "{}", error)) << error;
    std::vector<std::string> names = folder.FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"other.json.tmp-" + dead + "-0", "p.json",
                                               "p.json.tmp-" + alive + "-99", "p.json.tmp-notours"}));
}

// Threads of one process and processes alike: flock locks belong to open files, not processes.
TEST(CarefulFileLock, ConcurrentReadModifyWritesLoseNoUpdate) {
    TempFolder folder;
    const fs::path target = folder.Path() / "counter";
    folder.WriteFile("counter", "0");
    constexpr int Writers = 8;
    constexpr int Rounds = 25;
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (int writer = 0; writer < Writers; ++writer) {
        writers.emplace_back([&] {
            for (int round = 0; round < Rounds; ++round) {
                std::string error, bytes;
                GS::CarefulFile::UpdateLock lock;
                if (!lock.Acquire(target, error) ||
                    GS::CarefulFile::ReadRegularFile(target, bytes, error) != ReadOutcome::Read ||
                    !GS::CarefulFile::ReplaceFile(target, std::to_string(std::stoi(bytes) + 1), error)) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(folder.ReadFile("counter"), std::to_string(Writers * Rounds));
    EXPECT_EQ(TemporaryFilesOf(folder, "counter"), 0u);
}

// kill -9 of a writer at the moment its temporary file appears: the target is the old file or the
// new one, whole; the temporary file is left, and the next successful write removes it.
TEST(CarefulFileReplace, AWriterKilledWhileWritingLeavesAWholeFileAndNoLeftoverAfterTheNextWrite) {
    TempFolder folder;
    const fs::path target = folder.Path() / "workbook.xlsx";
    const std::string oldBytes(1 << 20, 'o');
    const std::string newBytes(8 << 20, 'n');
    folder.WriteFile("workbook.xlsx", oldBytes);
    constexpr int Kills = 40;
    int killedWhileTemporaryExisted = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, folder.Utf8().c_str(), IN_CREATE), 0);
        const pid_t writer = ::fork();
        if (writer == 0) {
            std::string error;
            GS::CarefulFile::ReplaceFile(target, newBytes, error);
            ::_exit(0);
        }
        ASSERT_TRUE(TestSupport::WaitForCreation(watch, "workbook.xlsx.tmp-"));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(watch);
        killedWhileTemporaryExisted += TemporaryFilesOf(folder, "workbook.xlsx") > 0 ? 1 : 0;
        const std::string now = folder.ReadFile("workbook.xlsx");
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "a file of " << now.size() << " bytes";

        std::string error;
        ASSERT_TRUE(GS::CarefulFile::ReplaceFile(target, oldBytes, error)) << error;
        ASSERT_EQ(TemporaryFilesOf(folder, "workbook.xlsx"), 0u) << "after kill " << kill;
    }
    // The loop proves something only if the kills did land mid-write.
    EXPECT_GT(killedWhileTemporaryExisted, Kills / 2);
}

} // namespace
