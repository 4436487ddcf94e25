#pragma once

#include <cstdarg>
#include <string>

namespace GS {

// The formatting behind DBPrintf, as UTF-8, for the conversions its callers use: "%s" reads a
// NUL-terminated UTF-16 string (the host's rule), "%hs" 8-bit UTF-8 text, "%d" and "%i" an int, "%%"
// a percent sign; a null string prints "(null)". Any other conversion is copied as it stands without
// taking an argument, so that a format this host does not know cannot make it read an argument of
// another type; it never reads past the format's NUL.
std::string FormatDebugText(const char* format, std::va_list arguments);

} // namespace GS
