// Wine's stdlib.h, with what the Windows SDK's has and the MSVC STL relies on: the C++ overloads of
// abs for long and long long (without them <ios> finds abs ambiguous), and quick_exit's
// registration, which ucrtbase.dll exports under its runtime name.
#pragma once
// atexit and _onexit are no runtime DLL's: each module's start-up library defines them, so that a
// DLL's registrations run at its own unload. Wine declares them imported; they are declared again
// below as what they are.
#define atexit __wine_imported_atexit
#define _onexit __wine_imported_onexit
#include_next <stdlib.h>
#undef atexit
#undef _onexit

#include <corecrt_startup.h>
#include <errno.h>
#include <process.h>

#ifdef __cplusplus
extern "C" {
#endif
int __cdecl atexit(void(__cdecl* function)(void));
_ACRTIMP unsigned int __cdecl _set_abort_behavior(unsigned int flags, unsigned int mask);
_onexit_t __cdecl _onexit(_onexit_t function);
#ifdef __cplusplus
}
#endif

static inline int __cdecl at_quick_exit(_PVFV function) {
    return _crt_at_quick_exit(function);
}

#ifdef __cplusplus
extern "C++" {
inline long __cdecl abs(long value) noexcept {
    return labs(value);
}
inline long long __cdecl abs(long long value) noexcept {
    return llabs(value);
}
}
#endif
