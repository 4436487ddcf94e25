#pragma once

#include "UniString.hpp"

// What the file system's marks say about writing at a native path; WriteMarksPosix.cpp,
// WriteMarksWindows.cpp. Only marks are read: nothing is opened or created.
namespace SU::WriteMarks {

enum class Entry { Missing, WritableFile, ReadOnlyFile, WritableFolder, ReadOnlyFolder, Other };

// Follows symbolic links.
Entry At(const GS::UniString& nativePath);

// The folder that holds the entry at `nativePath`: "/a" for "/a/b", "/" for "/b", "." for a bare name
// (POSIX); "C:\a" for "C:\a\b", "C:\" for "C:\b", "C:" for "C:b", "." for a bare name (Windows).
GS::UniString ContainingFolder(const GS::UniString& nativePath);

} // namespace SU::WriteMarks
