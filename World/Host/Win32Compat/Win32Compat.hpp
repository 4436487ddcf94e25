#pragma once

// Stand-ins for the Win32 calls a module makes at load, for platforms that are not Windows.
// Include Win32Api.hpp rather than this file.
#if defined(_WIN32)
#error "Win32Compat is for platforms without Win32"
#endif

#include <cstdint>

#define WIN32COMPAT_API __attribute__((visibility("default")))

using BOOL = int;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LPVOID = void*;
using WCHAR = char16_t; // UTF-16, as on Windows
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;

// A loaded module: its load address, as on Windows.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

#define WINAPI
#define APIENTRY
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

extern "C" {
// The path of the file from which `module` was loaded, in UTF-16, truncated to `size` - 1 units
// and always NUL-terminated (when `size` > 0). Returns the number of units copied without the NUL,
// or 0 when `module` is not a loaded module.
WIN32COMPAT_API DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
// A process-wide message number for `name`: the same name (case-insensitive) always gives the same
// number, in the range 0xC000 to 0xFFFF; 0 when the table is full or `name` is null or empty.
WIN32COMPAT_API UINT RegisterWindowMessageW(LPCWSTR name);
}

namespace Win32Compat {
// The module that contains `address` (its load address), or null.
WIN32COMPAT_API HMODULE ModuleFromAddress(const void* address);
} // namespace Win32Compat
