#include "StoreFilePosix.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace GS::StoreFile {

namespace {

Stamp StampOf(const struct stat& info) {
    Stamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<UInt64>(info.st_dev);
    stamp.inode = static_cast<UInt64>(info.st_ino);
    stamp.modifiedSeconds = static_cast<Int64>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<Int64>(info.st_mtim.tv_nsec);
    stamp.changedSeconds = static_cast<Int64>(info.st_ctim.tv_sec);
    stamp.changedNanoseconds = static_cast<Int64>(info.st_ctim.tv_nsec);
    stamp.size = static_cast<Int64>(info.st_size);
    return stamp;
}

std::string Describe(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
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

// Both the host process and a registry tool may write the same folder at once.
std::string TemporaryPathFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
}

// Read-only goes by the mark, not by trying: the tests run as root, who may write anything.
bool IsMarkedReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

} // namespace

Int64 WallClockNow() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<Int64>(now.tv_sec) * 1'000'000'000 + static_cast<Int64>(now.tv_nsec);
}

bool IsSettled(const Stamp& stamp, Int64 readStart) {
    if (!stamp.exists) {
        // Whatever makes the file changes `exists`.
        return true;
    }
    // Far above any local file system's tick (a few milliseconds), and cheap to wait out: until
    // then a read costs a comparison of the bytes, never a parse.
    constexpr Int64 settleTime = 1'000'000'000;
    const auto latest = std::max(stamp.modifiedSeconds * 1'000'000'000 + stamp.modifiedNanoseconds,
                                 stamp.changedSeconds * 1'000'000'000 + stamp.changedNanoseconds);
    return latest < readStart - settleTime;
}

Stamp GetStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Stamp{};
    }
    return StampOf(info);
}

bool Read(const std::string& path, std::string& bytes, Stamp& stamp, std::string& error) {
    bytes.clear();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) {
            stamp = Stamp{};
            return true;
        }
        error = Describe("cannot open", path);
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(descriptor, &info) == 0;
    if (ok && !S_ISREG(info.st_mode)) {
        errno = EISDIR;
        ok = false;
    }
    char chunk[65536];
    while (ok) {
        const ssize_t count = ::read(descriptor, chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
    if (!ok) {
        error = Describe("cannot read", path);
    } else {
        stamp = StampOf(info);
    }
    ::close(descriptor);
    return ok;
}

bool WriteAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string folder = FolderOf(path);
    if (IsMarkedReadOnly(path) || IsMarkedReadOnly(folder)) {
        error = path + " is read-only";
        return false;
    }
    const std::string temporary = TemporaryPathFor(path);
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        error = Describe("cannot create", temporary);
        return false;
    }
    bool ok = WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    if (!ok) {
        error = Describe("cannot write", temporary);
    }
    if (::close(descriptor) != 0 && ok) {
        error = Describe("cannot write", temporary);
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = Describe("cannot replace", path);
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself lasts only once the folder's entry is on the disk too.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace GS::StoreFile
