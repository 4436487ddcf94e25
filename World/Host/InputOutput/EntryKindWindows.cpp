#include "EntryKind.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace IO::EntryKind {

Kind At(const GS::UniString& nativePath) {
    if (nativePath.IsEmpty()) {
        return Kind::Missing;
    }
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(nativePath.ToUStr()));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Kind::Missing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder : Kind::File;
}

} // namespace IO::EntryKind
