#include "NativePath.hpp"

namespace IO::NativePath {

char16_t Separator() {
    return u'\\';
}

bool IsSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

namespace {
// "C:\" and "\" keep their separator; it is part of the root.
bool IsRoot(const GS::UniString& path, UIndex length) {
    return length == 1 || (length == 3 && path[1] == u':');
}
} // namespace

GS::UniString Normalize(const GS::UniString& path) {
    GS::UniString native;
    for (UIndex i = 0; i < path.GetLength(); ++i) {
        native += path[i] == u'/' ? u'\\' : path[i];
    }
    UIndex length = native.GetLength();
    while (length > 0 && native[length - 1] == u'\\' && !IsRoot(native, length)) {
        --length;
    }
    return native.GetSubstring(0, length);
}

// Windows file systems compare names without regard to case.
bool SamePath(const GS::UniString& left, const GS::UniString& right) {
    return left.IsEqual(right, GS::CaseInsensitive);
}

} // namespace IO::NativePath
