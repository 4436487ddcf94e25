#pragma once

// The few Win32 names that a module's DllMain world needs. On Windows they are the real ones; on
// other platforms the host's compatibility library provides them (Win32Compat.hpp), so that add-on
// code reads the same on both.
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// A UTF-16 literal of the platform's wide character type.
#define W32TEXT(s) L##s
#else
#include "Win32Compat.hpp"
#define W32TEXT(s) u##s
#endif
