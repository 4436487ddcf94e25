#pragma once

#include "GSRootExport.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// How the host reads and writes the files people keep (projects, registry hives, the translator
// store, workbooks): CarefulFile.cpp, CarefulFilePosix.cpp, CarefulFileWindows.cpp.
//
// A write never leaves half a file: the bytes go to a temporary file beside the target, named
// "<target name>.tmp-<process id>-<count>" and created exclusively, are flushed to the disk, and
// the temporary file is renamed over the target (the folder is synced after it on POSIX, the
// rename is written through on Windows). A writer killed half-way leaves its temporary file; the
// next successful write of the same target removes every one whose process is gone.
//
// Read-only goes by the mark (no owner-write bit on POSIX, the read-only attribute on Windows), on
// the file and on its folder, never by trying: the tests run as root, who may write anything.
namespace GS::CarefulFile {

enum class ReadOutcome { Read, Missing, Refused };

// The whole file at `path`. Anything but a regular file (a folder, a pipe, a device) is refused
// before it is opened, so that a pipe without a writer cannot hang the reader. `error` names the
// file and the fault when refused.
GSROOT_API ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::string& bytes,
                                       std::string& error);

// Replaces the file at `target` with `bytes` as described above. False, with the reason, when it
// cannot: the target is then as it was and no temporary file of this write is left.
GSROOT_API bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string& error);

// Why `target` may not be written by its marks (the file or its folder read-only, or something
// that is not a regular file in its place); empty when the marks allow it.
GSROOT_API std::string WriteRefusal(const std::filesystem::path& target);

// An exclusive advisory lock on `target`, held from Acquire until the lock is destroyed: every
// read-modify-write of a shared file runs under it, so that concurrent writers (other processes,
// other threads) take their turns instead of losing each other's updates. The lock is taken on a
// companion file "<target>.lock" (a rename over the target does not disturb it), which the last
// holder removes: nothing of the lock is left beside the target once every writer is done.
class GSROOT_API UpdateLock {
public:
    UpdateLock() = default;
    ~UpdateLock();
    UpdateLock(UpdateLock&& other) noexcept;
    UpdateLock& operator=(UpdateLock&& other) noexcept;
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

    // Waits for the lock. False, with the reason, when the target may not be written (see
    // WriteRefusal) or the lock file cannot be made.
    bool Acquire(const std::filesystem::path& target, std::string& error);
    bool Held() const { return handle != NoHandle; }

private:
    void Release();

    static constexpr std::intptr_t NoHandle = -1;
    std::intptr_t handle = NoHandle;
    std::filesystem::path lockFile;
};

// The companion lock file of `target`.
GSROOT_API std::filesystem::path LockPathOf(const std::filesystem::path& target);

} // namespace GS::CarefulFile
