#include "AbsoluteFolder.hpp"

namespace {

bool IsSeparator(char16_t unit) {
#ifdef _WIN32
    return unit == u'\\' || unit == u'/';
#else
    return unit == u'/';
#endif
}

} // namespace

bool IsAbsoluteFolder(const GS::UniString& folder) {
    const UIndex length = folder.GetLength();
#ifdef _WIN32
    // "C:folder" is relative to drive C's working folder, and "\folder" to the working drive.
    if (length >= 3 && folder[1] == u':' && IsSeparator(folder[2])) {
        const char16_t letter = folder[0];
        return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
    }
    return length >= 3 && IsSeparator(folder[0]) && IsSeparator(folder[1]) && !IsSeparator(folder[2]);
#else
    return length >= 1 && IsSeparator(folder[0]);
#endif
}
