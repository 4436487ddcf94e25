#include "PathLegality.hpp"

#include <array>
#include <string>
#include <string_view>

namespace IO::PathLegality {

namespace {

constexpr UIndex PosixNameMaxBytes = 255;
constexpr UIndex PosixPathMaxBytes = 4096; // counts the terminating NUL
constexpr UIndex WindowsNameMaxUnits = 255;
constexpr UIndex WindowsMaxPath = 260;            // counts the terminating NUL
constexpr UIndex WindowsLongPathMaxUnits = 32767; // with the "\\?\" prefix

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Walks the path once, counting UTF-8 bytes per name and overall; false at the first unit that
// cannot be encoded or a limit that is passed.
bool PosixBytesFit(const GS::UniString& path) {
    UIndex pathBytes = 0;
    UIndex nameBytes = 0;
    for (UIndex i = 0; i < path.GetLength(); ++i) {
        const char16_t unit = path[i];
        UIndex bytes = 0;
        if (unit == u'\0' || IsLowSurrogate(unit)) {
            return false;
        }
        if (IsHighSurrogate(unit)) {
            if (i + 1 >= path.GetLength() || !IsLowSurrogate(path[i + 1])) {
                return false;
            }
            ++i;
            bytes = 4;
        } else {
            bytes = unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        }
        nameBytes = unit == u'/' ? 0 : nameBytes + bytes;
        pathBytes += bytes;
        if (nameBytes > PosixNameMaxBytes || pathBytes >= PosixPathMaxBytes) {
            return false;
        }
    }
    return true;
}

bool IsWindowsSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

bool IsAsciiLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

char16_t AsciiUpper(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
}

bool IsReservedWindowsCharacter(char16_t unit) {
    return unit < 0x20 || std::u16string_view(u"<>:\"|?*").find(unit) != std::u16string_view::npos;
}

bool IsLongPathPrefixed(const GS::UniString& path) {
    return path.GetLength() >= 4 && path[0] == u'\\' && path[1] == u'\\' && path[2] == u'?' &&
           path[3] == u'\\';
}

// The units before the first name that may hold characters names may not: "\\?\" and "C:".
UIndex WindowsRootLength(const GS::UniString& path) {
    UIndex root = IsLongPathPrefixed(path) ? 4 : 0;
    if (path.GetLength() >= root + 2 && IsAsciiLetter(path[root]) && path[root + 1] == u':') {
        root += 2;
    }
    return root;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder, also with an extension
// ("nul.txt") and with spaces before it ("CON .txt").
bool IsReservedDeviceName(const GS::UniString& path, UIndex start, UIndex end) {
    UIndex stem = start;
    while (stem < end && path[stem] != u'.') {
        ++stem;
    }
    while (stem > start && path[stem - 1] == u' ') {
        --stem;
    }
    std::u16string upper;
    for (UIndex i = start; i < stem; ++i) {
        upper += AsciiUpper(path[i]);
    }
    static constexpr std::array<std::u16string_view, 4> plain = {u"CON", u"PRN", u"AUX", u"NUL"};
    for (std::u16string_view device : plain) {
        if (upper == device) {
            return true;
        }
    }
    return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) &&
           upper[3] >= u'1' && upper[3] <= u'9';
}

bool IsLegalWindowsName(const GS::UniString& path, UIndex start, UIndex end) {
    const UIndex length = end - start;
    if (length == 0) {
        return true; // "a\\b" and the leading "\\" of a UNC path: no name, nothing to refuse
    }
    if (length > WindowsNameMaxUnits) {
        return false;
    }
    for (UIndex i = start; i < end; ++i) {
        if (IsReservedWindowsCharacter(path[i])) {
            return false;
        }
    }
    const bool dotName = (length == 1 && path[start] == u'.') ||
                         (length == 2 && path[start] == u'.' && path[start + 1] == u'.');
    if (!dotName && (path[end - 1] == u' ' || path[end - 1] == u'.')) {
        return false;
    }
    return !IsReservedDeviceName(path, start, end);
}

} // namespace

bool IsLegalPosixPath(const GS::UniString& path) {
    return !path.IsEmpty() && PosixBytesFit(path);
}

bool IsLegalWindowsPath(const GS::UniString& path) {
    if (path.IsEmpty()) {
        return false;
    }
    const UIndex limit = IsLongPathPrefixed(path) ? WindowsLongPathMaxUnits : WindowsMaxPath - 1;
    if (path.GetLength() > limit) {
        return false;
    }
    UIndex start = WindowsRootLength(path);
    for (UIndex i = start; i <= path.GetLength(); ++i) {
        if (i == path.GetLength() || IsWindowsSeparator(path[i])) {
            if (!IsLegalWindowsName(path, start, i)) {
                return false;
            }
            start = i + 1;
        }
    }
    return true;
}

} // namespace IO::PathLegality
