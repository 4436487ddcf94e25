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
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(nativePath.ToUStr()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace SU::FileSystem
