// Wine's winnt.h defines _InterlockedCompareExchange128 as an inline function, which clang in MSVC
// mode already has as a builtin ("definition of builtin function"). Wine's definition is kept under
// another name for Wine's own inline users; everyone else gets the builtin.
#pragma once
#define _InterlockedCompareExchange128 __wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
