#include "CarefulFilePlatform.hpp"

#include "DescriptorReadPosix.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace GS::CarefulFile::Platform {

namespace {

void SyncFolder(const std::filesystem::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

std::string DescribeLastError(const std::string& what, const std::filesystem::path& path) {
    return what + " " + Utf8Of(path) + ": " + std::strerror(errno);
}

Entry Inspect(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    Entry entry;
    entry.kind = S_ISREG(info.st_mode) ? Kind::Regular : S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
    entry.markedReadOnly = (info.st_mode & S_IWUSR) == 0;
    return entry;
}

std::uint64_t CurrentProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

bool ProcessIsGone(std::uint64_t processId) {
    const auto id = static_cast<pid_t>(processId);
    if (id <= 0 || static_cast<std::uint64_t>(id) != processId) {
        return false;
    }
    return ::kill(id, 0) != 0 && errno == ESRCH;
}

bool ReadAll(const std::filesystem::path& path, std::string& bytes, std::string& error) {
    // Not blocking: a pipe put in the file's place since it was inspected must not hang the open.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = DescribeLastError("cannot open", path);
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(descriptor, &info) == 0;
    if (ok && !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        error = "cannot read " + Utf8Of(path) + ": it is not a regular file";
        return false;
    }
    if (ok && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    ok = ok && ReadToEnd(descriptor, bytes);
    if (!ok) {
        error = DescribeLastError("cannot read", path);
    }
    ::close(descriptor);
    return ok;
}

std::intptr_t CreateNew(const std::filesystem::path& temporary, const std::filesystem::path& target,
                        std::string& error) {
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = DescribeLastError("cannot create", temporary);
        return NoHandle;
    }
    // The replaced file's permissions stay the file's.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(descriptor, old.st_mode & 07777) != 0) {
        error = DescribeLastError("cannot write", temporary);
        ::close(descriptor);
        return NoHandle;
    }
    return descriptor;
}

bool WriteAt(std::intptr_t file, std::string_view bytes, std::uint64_t offset) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::pwrite(static_cast<int>(file), bytes.data() + written, bytes.size() - written,
                                       static_cast<off_t>(offset + written));
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

bool SyncAndClose(std::intptr_t file) {
    const bool synced = ::fsync(static_cast<int>(file)) == 0;
    return ::close(static_cast<int>(file)) == 0 && synced;
}

void Close(std::intptr_t file) {
    ::close(static_cast<int>(file));
}

bool RenameOver(const std::filesystem::path& temporary, const std::filesystem::path& target,
                std::string& error) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = DescribeLastError("cannot replace", target);
        return false;
    }
    // The rename itself lasts only once the folder's entry is on the disk too.
    SyncFolder(FolderOf(target));
    return true;
}

std::intptr_t LockExclusive(const std::filesystem::path& lockFile, std::string& error) {
    for (;;) {
        const int descriptor = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            error = DescribeLastError("cannot lock", lockFile);
            return NoHandle;
        }
        int locked = 0;
        while ((locked = ::flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            error = DescribeLastError("cannot lock", lockFile);
            ::close(descriptor);
            return NoHandle;
        }
        // The file locked must still be the one of that name: its last holder removes it on unlock.
        struct stat held {};
        struct stat named {};
        if (::fstat(descriptor, &held) == 0 && ::stat(lockFile.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            return descriptor;
        }
        ::close(descriptor);
    }
}

void Unlock(std::intptr_t handle, const std::filesystem::path& lockFile) {
    // Removed while still locked, so that nobody can take the lock on it in between.
    ::unlink(lockFile.c_str());
    ::close(static_cast<int>(handle));
}

} // namespace GS::CarefulFile::Platform
