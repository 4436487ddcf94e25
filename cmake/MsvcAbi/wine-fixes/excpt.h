// Wine's excpt.h declares the structured-exception intrinsics (GetExceptionCode, ...) only for a
// compiler that says it has them; clang in MSVC mode has them.
#pragma once
#ifndef USE_COMPILER_EXCEPTIONS
#define USE_COMPILER_EXCEPTIONS
#endif
#include_next <excpt.h>
