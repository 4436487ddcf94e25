#include "FileSystem.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace SU::FileSystem {

bool IsRegularFile(const GS::UniString& nativePath) {
    if (nativePath.IsEmpty()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(nativePath.ToUStr()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace SU::FileSystem
