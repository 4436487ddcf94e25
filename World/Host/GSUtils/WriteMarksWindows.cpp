#include "WriteMarks.hpp"

#include "FileSystem.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace SU::WriteMarks {

namespace {

bool IsSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

} // namespace

Entry At(const GS::UniString& nativePath) {
    if (nativePath.IsEmpty() || !SU::FileSystem::IsWithinPathLimit(nativePath)) {
        return Entry::Missing;
    }
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<const wchar_t*>(nativePath.ToUStr()));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Entry::Missing;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A folder's read-only attribute marks it as customised; files can still be made in it.
        return Entry::WritableFolder;
    }
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        return Entry::Other;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? Entry::ReadOnlyFile : Entry::WritableFile;
}

GS::UniString ContainingFolder(const GS::UniString& nativePath) {
    UIndex end = nativePath.GetLength();
    while (end > 0 && !IsSeparator(nativePath[end - 1])) {
        --end;
    }
    if (end == 0) {
        const bool driveRelative = nativePath.GetLength() >= 2 && nativePath[1] == u':';
        return driveRelative ? nativePath.GetSubstring(0, 2) : GS::UniString(u".");
    }
    // The separator that ends a root ("\", "C:\") stays: it is the folder's name.
    const bool rootSeparator = end == 1 || (end == 3 && nativePath[1] == u':');
    return nativePath.GetSubstring(0, rootSeparator ? end : end - 1);
}

} // namespace SU::WriteMarks
