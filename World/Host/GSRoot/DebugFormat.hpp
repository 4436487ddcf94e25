#pragma once

#include <cstdarg>
#include <string>

namespace GS {

// The formatting behind DBPrintf, as UTF-8: "%s" reads a NUL-terminated UTF-16 string (the host's
// rule), "%hs" 8-bit UTF-8 text; a null string prints "(null)". Conversions it does not know are
// copied as they stand, without taking an argument; it never reads past the format's NUL.
std::string FormatDebugText(const char* format, std::va_list arguments);

} // namespace GS
