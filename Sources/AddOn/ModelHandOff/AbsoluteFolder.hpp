#pragma once

#include "UniString.hpp"

// Whether a folder path names one place whatever the working folder: on Windows a drive letter with
// its separator ("C:\", "C:/") or a UNC prefix ("\\server"); on POSIX a leading '/'. A path taken
// from outside (an installer's registry record) that is relative would name a different folder in
// each program that reads it.
bool IsAbsoluteFolder(const GS::UniString& folder);
