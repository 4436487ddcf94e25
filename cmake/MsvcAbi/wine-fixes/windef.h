// Wine's windef.h defines `inline` as `__inline` whenever _MSC_VER is set, as clang in MSVC mode
// sets it. In C++ `inline` is a keyword, and the STL refuses to build with a keyword redefined; the
// macro is only for old C compilers.
#pragma once
#include_next <windef.h>
#ifdef __cplusplus
#undef inline
#endif
