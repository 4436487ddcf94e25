#pragma once

#include "UniString.hpp"

// The platform's file-system queries behind GSUtils; FileSystemPosix.cpp, FileSystemWindows.cpp.
namespace SU::FileSystem {

bool IsRegularFile(const GS::UniString& nativePath);

} // namespace SU::FileSystem
