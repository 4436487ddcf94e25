#include "StoreFilePosix.hpp"

#include "CarefulFile.hpp"
#include "DescriptorReadPosix.hpp"

#include <algorithm>
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
    // A pipe or a device in the file's place would block the open or never end.
    struct stat before {};
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        error = "cannot read " + path + ": it is not a regular file";
        return false;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    ok = ok && ReadToEnd(descriptor, bytes);
    if (!ok) {
        error = Describe("cannot read", path);
    } else {
        stamp = StampOf(info);
    }
    ::close(descriptor);
    return ok;
}

bool WriteAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    return GS::CarefulFile::ReplaceFile(path, bytes, error);
}

} // namespace GS::StoreFile
