#include "FileSystem.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace SU::FileSystem {

namespace {

bool IsLongPathPrefixed(const GS::UniString& path) {
    return path.GetLength() >= 4 && path[0] == u'\\' && path[1] == u'\\' && path[2] == u'?' &&
           path[3] == u'\\';
}

} // namespace

bool IsWithinPathLimit(const GS::UniString& nativePath) {
    return nativePath.GetLength() < MAX_PATH || IsLongPathPrefixed(nativePath);
}

bool IsRegularFile(const GS::UniString& nativePath) {
    if (nativePath.IsEmpty() || !IsWithinPathLimit(nativePath)) {
        return false;
    }
    // Opened, not asked for its attributes: GetFileAttributesW describes a symbolic link itself (a
    // dangling one included), where the question is about the file it leads to. No access is asked
    // for, so a file that is locked or unreadable still counts; backup semantics let folders open,
    // to be told apart.
    const HANDLE file =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(nativePath.ToUStr()), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool described = ::GetFileInformationByHandle(file, &information) != 0;
    ::CloseHandle(file);
    return described && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace SU::FileSystem
