#pragma once

#include "UniString.hpp"

// What the file system holds at a native path; EntryKindPosix.cpp, EntryKindWindows.cpp.
namespace IO::EntryKind {

enum class Kind { Missing, Folder, File };

// Follows symbolic links; anything that is not a folder (a device, a pipe) counts as a file.
Kind At(const GS::UniString& nativePath);

} // namespace IO::EntryKind
