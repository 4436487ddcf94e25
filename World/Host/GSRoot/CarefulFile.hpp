#pragma once

#include "GSRootExport.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// How the host reads and writes the files people keep (projects, registry hives, the translator
// store, workbooks): CarefulFile.cpp, CarefulFilePosix.cpp, CarefulFileWindows.cpp.
//
// A write never leaves half a file: the bytes go to a temporary file beside the target, named
// "<target name>.tmp-<process id>-<count>" and created exclusively, are flushed to the disk, and
// the temporary file is renamed over the target (the folder is synced after it on POSIX, the
// rename is written through on Windows). A writer killed half-way leaves its temporary file; the
// next successful write of the same target removes every one whose process is gone. A target that
// is a symbolic link is written through to the file it names (the link stays a link).
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

// Where the bytes of a streamed replacement go: appended in order, and a range already written may
// be written again (a container that fills in a header once its sizes are known). Each answers
// false once the file could not take the bytes.
class FileWriter {
public:
    virtual bool Append(std::string_view bytes) = 0;
    virtual bool WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
    virtual std::uint64_t Size() const = 0;

protected:
    ~FileWriter() = default;
};

// Answers false, with its reason in the string, to abandon the replacement.
using FileProducer = std::function<bool(FileWriter& file, std::string& error)>;

// ReplaceFile for contents made while they are written, too large to hold in memory at once: the
// producer writes the temporary file, which replaces the target only when it answers true. When it
// answers false, or the bytes cannot be written, the target is as it was and the temporary file
// is gone; `error` says why.
GSROOT_API bool ReplaceFileWith(const std::filesystem::path& target, const FileProducer& produce,
                                std::string& error);

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

private:
    void Release();

    static constexpr std::intptr_t NoHandle = -1;
    std::intptr_t handle = NoHandle;
    std::filesystem::path lockFile;
};

// The companion lock file of `target`.
GSROOT_API std::filesystem::path LockPathOf(const std::filesystem::path& target);

} // namespace GS::CarefulFile
