// Wine's eh.h, with C linkage for what ucrtbase.dll exports under C names (terminate, set_terminate,
// ...: Wine's header gives them C++ linkage in C++), and the terminate handler's getter that the
// MSVC STL's <exception> calls.
#pragma once
#include <corecrt.h>

#ifdef __cplusplus
extern "C" {
#endif
#include_next <eh.h>
_ACRTIMP terminate_handler __cdecl _get_terminate(void);
#ifdef __cplusplus
}
#endif
