// Wine's stdio.h, with the C99 v...scanf functions that the MSVC STL's <cstdio> names. The Universal
// C runtime has them as inline wrappers of its __stdio_common_v...scanf exports, as here.
#pragma once
#include_next <stdio.h>

static inline int __cdecl vfscanf(FILE* file, const char* format, va_list args) {
    return __stdio_common_vfscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, file, format, NULL, args);
}
static inline int __cdecl vscanf(const char* format, va_list args) {
    return vfscanf(stdin, format, args);
}
static inline int __cdecl vsscanf(const char* buffer, const char* format, va_list args) {
    return __stdio_common_vsscanf(_CRT_INTERNAL_LOCAL_SCANF_OPTIONS, buffer, (size_t)-1, format, NULL, args);
}

#ifdef __cplusplus
extern "C" {
#endif
// Hands the STL's file stream buffer the stream's own buffer pointers.
_ACRTIMP errno_t __cdecl _get_stream_buffer_pointers(FILE* stream, char*** base, char*** pointer,
                                                     int** count);
#ifdef __cplusplus
}
#endif
