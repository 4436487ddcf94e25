#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What CarefulFile needs of the platform (CarefulFilePosix.cpp, CarefulFileWindows.cpp). Not
// exported: CarefulFile.cpp is its only user.
namespace GS::CarefulFile::Platform {

// A path as UTF-8, for messages.
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The folder that holds `target`; "." for a bare file name.
inline std::filesystem::path FolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

enum class Kind { Missing, Regular, Folder, Other };

struct Entry {
    Kind kind = Kind::Missing;
    bool markedReadOnly = false;
};

// Follows symbolic links; reads marks only, opens nothing.
Entry Inspect(const std::filesystem::path& path);

std::uint64_t CurrentProcessId();
// True only when the system says that no process of that id runs; false when it cannot tell.
bool ProcessIsGone(std::uint64_t processId);

// Reads a file that Inspect found regular, refusing anything else it meets on opening.
bool ReadAll(const std::filesystem::path& path, std::string& bytes, std::string& error);

// An open file, or a lock; NoHandle when there is none.
constexpr std::intptr_t NoHandle = -1;

// Creates `temporary` exclusively, for writing, with the permissions of `target` when there is one.
std::intptr_t CreateNew(const std::filesystem::path& temporary, const std::filesystem::path& target,
                        std::string& error);
// Writes all of `bytes` at `offset`, through short writes and interruptions.
bool WriteAt(std::intptr_t file, std::string_view bytes, std::uint64_t offset);
// Puts what was written on the disk, then closes the file (closed also when that fails).
bool SyncAndClose(std::intptr_t file);
void Close(std::intptr_t file);

// Renames `temporary` over `target` so that the rename itself survives a crash.
bool RenameOver(const std::filesystem::path& temporary, const std::filesystem::path& target,
                std::string& error);

// An exclusive lock on `lockFile` (created when missing), waited for; NoHandle and `error` when
// it cannot be had. Unlock removes the lock file, so that none is left beside the target; a writer
// who was waiting on the removed file finds that out and locks the one now in its place.
std::intptr_t LockExclusive(const std::filesystem::path& lockFile, std::string& error);
void Unlock(std::intptr_t handle, const std::filesystem::path& lockFile);

// "<what> <path>: <the system's reason>" for the last failed system call.
std::string DescribeLastError(const std::string& what, const std::filesystem::path& path);

} // namespace GS::CarefulFile::Platform
