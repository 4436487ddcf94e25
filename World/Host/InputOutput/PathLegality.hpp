#pragma once

#include "UniString.hpp"

// Whether a path text can name something in a file system, judged from the text alone (nothing is
// looked up). Both rule sets are plain functions so either can be checked on any platform.
namespace IO::PathLegality {

// POSIX: not empty; no NUL and no unpaired surrogate (the path must become UTF-8 exactly); each
// name at most NAME_MAX (255) bytes and the whole path under PATH_MAX (4096) bytes, in UTF-8.
bool IsLegalPosixPath(const GS::UniString& path);

// Windows: not empty; no control characters and none of < > : " | ? * in a name, apart from the
// colon of a drive ("C:") and the "\\?\" prefix; no reserved device name (CON, PRN, AUX, NUL,
// COM1-COM9, LPT1-LPT9, in any case, alone or before an extension); no name ending in a space or
// a dot other than "." and ".."; each name at most 255 UTF-16 units. The whole path must fit the
// limit the host's own calls can open: with the "\\?\" prefix up to 32767 units, otherwise under
// MAX_PATH (260 units counting the terminating NUL, so at most 259), since the host passes paths
// to the system unprefixed. Both separators, '\' and '/', split names.
bool IsLegalWindowsPath(const GS::UniString& path);

// The rule set of the platform this library was built for; PathLegalityPosix.cpp, PathLegalityWindows.cpp.
bool IsLegalNativePath(const GS::UniString& path);

} // namespace IO::PathLegality
