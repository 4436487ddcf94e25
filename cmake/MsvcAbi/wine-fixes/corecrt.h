// Wine's corecrt.h, with the MSVC x64 ABI's multibyte conversion state. The Universal C runtime
// defines it here, so every header that names it (stdio.h, wchar.h, the STL's <cstdio>) sees it.
#pragma once
#include_next <corecrt.h>

#ifndef _MBSTATET_DEFINED
#define _MBSTATET_DEFINED
typedef struct _Mbstatet {
    unsigned long _Wchar;
    unsigned short _Byte;
    unsigned short _State;
} _Mbstatet;
#endif
