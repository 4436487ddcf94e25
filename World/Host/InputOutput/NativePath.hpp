#pragma once

#include "UniString.hpp"

// What a native path looks like on this platform; LocationPosix.cpp and LocationWindows.cpp.
namespace IO::NativePath {

char16_t Separator();
bool IsSeparator(char16_t unit);
// The path in its native form: separators made native, a trailing separator dropped unless it
// belongs to the root ("/", "C:\").
GS::UniString Normalize(const GS::UniString& path);
// Whether two normalised paths name the same place, as the file system compares names.
bool SamePath(const GS::UniString& left, const GS::UniString& right);

} // namespace IO::NativePath
