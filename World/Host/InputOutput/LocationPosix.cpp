#include "NativePath.hpp"

namespace IO::NativePath {

char16_t Separator() {
    return u'/';
}

bool IsSeparator(char16_t unit) {
    return unit == u'/';
}

GS::UniString Normalize(const GS::UniString& path) {
    UIndex length = path.GetLength();
    while (length > 1 && path[length - 1] == u'/') {
        --length;
    }
    return length == path.GetLength() ? path : path.GetSubstring(0, length);
}

// POSIX file systems compare names byte for byte.
bool SamePath(const GS::UniString& left, const GS::UniString& right) {
    return left.IsEqual(right);
}

} // namespace IO::NativePath
