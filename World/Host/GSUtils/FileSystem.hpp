#pragma once

#include "UniString.hpp"

// The platform's file-system queries behind GSUtils; FileSystemPosix.cpp, FileSystemWindows.cpp.
namespace SU::FileSystem {

bool IsRegularFile(const GS::UniString& nativePath);

// Windows only: whether the system's calls can reach `nativePath` as the host passes it, judged by
// its length. Windows refuses an unprefixed path of MAX_PATH units or more (its NUL counts) unless it
// starts with "\\?\"; Wine does not, so the host answers as Windows does on both.
bool IsWithinPathLimit(const GS::UniString& nativePath);

} // namespace SU::FileSystem
