// Stands in for Wine's wchar.h, whose mbstate_t is a 4-byte int: the MSVC x64 ABI's is the 8-byte
// _Mbstatet, and it sits inside std::fpos and the file stream buffers that cross into msvcp140.dll,
// so the size must be right. The rest is what Wine's header declares, plus the C95/C99 functions
// the MSVC STL's <cwchar> names (ucrtbase.dll exports them).
#pragma once
#define __WINE_WCHAR_H

#include <corecrt_wctype.h>
#include <corecrt_wdirect.h>
#include <corecrt_wio.h>
#include <corecrt_wprocess.h>
#include <corecrt_wstdio.h>
#include <corecrt_wstdlib.h>
#include <corecrt_wstring.h>
#include <corecrt_wtime.h>
#include <string.h>
#include <sys/stat.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef WCHAR_MIN
#define WCHAR_MIN 0U
#define WCHAR_MAX 0xffffU
#endif

typedef _Mbstatet mbstate_t;

#ifndef _WLOCALE_DEFINED
#define _WLOCALE_DEFINED
_ACRTIMP wchar_t* __cdecl _wsetlocale(int, const wchar_t*);
#endif

_ACRTIMP wint_t __cdecl btowc(int);
_ACRTIMP size_t __cdecl mbrlen(const char*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbrtowc(wchar_t*, const char*, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl mbsrtowcs(wchar_t*, const char**, size_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcrtomb(char*, wchar_t, mbstate_t*);
_ACRTIMP size_t __cdecl wcsrtombs(char*, const wchar_t**, size_t, mbstate_t*);
_ACRTIMP int __cdecl wctob(wint_t);
_ACRTIMP errno_t __cdecl wmemcpy_s(wchar_t*, size_t, const wchar_t*, size_t);
_ACRTIMP long double __cdecl wcstold(const wchar_t*, wchar_t**);

static inline int __cdecl fwide(FILE* file, int mode) {
    (void)file;
    return mode;
}
static inline int __cdecl mbsinit(const mbstate_t* state) {
    return !state || state->_State == 0;
}

static inline int __cdecl vfwscanf(FILE* file, const wchar_t* format, va_list args) {
    return __stdio_common_vfwscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, file, format, NULL, args);
}
static inline int __cdecl vwscanf(const wchar_t* format, va_list args) {
    return vfwscanf(stdin, format, args);
}
static inline int __cdecl vswscanf(const wchar_t* buffer, const wchar_t* format, va_list args) {
    return __stdio_common_vswscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, buffer, (size_t)-1, format, NULL, args);
}

static inline const wchar_t* __cdecl wmemchr(const wchar_t* s, wchar_t c, size_t n) {
    for (const wchar_t* end = s + n; s < end; s++) {
        if (*s == c) {
            return s;
        }
    }
    return NULL;
}
static inline int __cdecl wmemcmp(const wchar_t* s1, const wchar_t* s2, size_t n) {
    for (size_t i = 0; i < n; i++) {
        if (s1[i] != s2[i]) {
            return s1[i] < s2[i] ? -1 : 1;
        }
    }
    return 0;
}
static inline wchar_t* __cdecl wmemcpy(wchar_t* dst, const wchar_t* src, size_t n) {
    return (wchar_t*)memcpy(dst, src, n * sizeof(wchar_t));
}
static inline wchar_t* __cdecl wmemmove(wchar_t* dst, const wchar_t* src, size_t n) {
    return (wchar_t*)memmove(dst, src, n * sizeof(wchar_t));
}
static inline wchar_t* __cdecl wmemset(wchar_t* s, wchar_t c, size_t n) {
    for (size_t i = 0; i < n; i++) {
        s[i] = c;
    }
    return s;
}

#ifdef __cplusplus
}
extern "C++" inline wchar_t* __cdecl wmemchr(wchar_t* s, wchar_t c, size_t n) {
    return const_cast<wchar_t*>(wmemchr(static_cast<const wchar_t*>(s), c, n));
}
#endif
