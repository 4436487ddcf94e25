#include "CarefulFilePlatform.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace GS::CarefulFile::Platform {

namespace {

// Closes a handle on every path out of a scope.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE value) : handle(value) {}
    ~OwnedHandle() {
        if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle; }
    bool Valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }

private:
    HANDLE handle;
};

} // namespace

std::string DescribeLastError(const std::string& what, const std::filesystem::path& path) {
    const DWORD code = ::GetLastError();
    char text[512] = {};
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                          code, 0, text, sizeof(text), nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = "error " + std::to_string(code);
    }
    return what + " " + Utf8Of(path) + ": " + reason;
}

Entry Inspect(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    Entry entry;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A folder's read-only attribute marks it as customised; files can still be made in it.
        entry.kind = Kind::Folder;
        return entry;
    }
    entry.kind = (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? Kind::Other : Kind::Regular;
    entry.markedReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return entry;
}

std::uint64_t CurrentProcessId() {
    return ::GetCurrentProcessId();
}

bool ProcessIsGone(std::uint64_t processId) {
    if (processId == 0 || processId > 0xFFFFFFFFu) {
        return false;
    }
    const OwnedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)));
    if (!process.Valid()) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    // A process that ended but whose handle someone still holds is gone too.
    return ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

bool ReadAll(const std::filesystem::path& path, std::string& bytes, std::string& error) {
    const OwnedHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        error = DescribeLastError("cannot open", path);
        return false;
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = "cannot read " + Utf8Of(path) + ": it is not a regular file";
        return false;
    }
    char chunk[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.Get(), chunk, sizeof(chunk), &count, nullptr)) {
            error = DescribeLastError("cannot read", path);
            return false;
        }
        if (count == 0) {
            return true;
        }
        bytes.append(chunk, count);
    }
}

std::intptr_t CreateNew(const std::filesystem::path& temporary, const std::filesystem::path&,
                        std::string& error) {
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = DescribeLastError("cannot create", temporary);
        return NoHandle;
    }
    return reinterpret_cast<std::intptr_t>(file);
}

bool WriteAt(std::intptr_t file, std::string_view bytes, std::uint64_t offset) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t rest = bytes.size() - written;
        const DWORD chunk = rest > 0x40000000u ? 0x40000000u : static_cast<DWORD>(rest);
        // A synchronous handle writes at the offset in the OVERLAPPED and waits for it.
        const std::uint64_t at = offset + written;
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD count = 0;
        if (!::WriteFile(reinterpret_cast<HANDLE>(file), bytes.data() + written, chunk, &count, &position) ||
            count == 0) {
            return false;
        }
        written += count;
    }
    return true;
}

bool SyncAndClose(std::intptr_t file) {
    const bool flushed = ::FlushFileBuffers(reinterpret_cast<HANDLE>(file)) != 0;
    return ::CloseHandle(reinterpret_cast<HANDLE>(file)) != 0 && flushed;
}

void Close(std::intptr_t file) {
    ::CloseHandle(reinterpret_cast<HANDLE>(file));
}

bool RenameOver(const std::filesystem::path& temporary, const std::filesystem::path& target,
                std::string& error) {
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = DescribeLastError("cannot replace", target);
        return false;
    }
    return true;
}

std::intptr_t LockExclusive(const std::filesystem::path& lockFile, std::string& error) {
    // The lock file goes when its last handle closes. Until then a new open of the name fails
    // (the deletion is pending): that writer waits until the name is free and makes a new file, by
    // which time every holder of the old one is done with it.
    constexpr int WaitMilliseconds = 60'000;
    for (int waited = 0;; ++waited) {
        const HANDLE file =
            ::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if ((code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) &&
                waited < WaitMilliseconds) {
                ::Sleep(1);
                continue;
            }
            error = DescribeLastError("cannot lock", lockFile);
            return NoHandle;
        }
        OVERLAPPED whole{};
        if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
            error = DescribeLastError("cannot lock", lockFile);
            ::CloseHandle(file);
            return NoHandle;
        }
        return reinterpret_cast<std::intptr_t>(file);
    }
}

void Unlock(std::intptr_t handle, const std::filesystem::path&) {
    const HANDLE file = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED whole{};
    ::UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    ::CloseHandle(file);
}

} // namespace GS::CarefulFile::Platform
