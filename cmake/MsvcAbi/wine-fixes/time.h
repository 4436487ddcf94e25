// Wine's time.h, with C11's timespec and timespec_get, which the MSVC STL's <ctime> and its clocks
// use. The Universal C runtime exports the 64-bit-time variant; timespec_get forwards to it.
#pragma once
#include_next <time.h>

#ifndef _CRT_TIMESPEC_DEFINED
#define _CRT_TIMESPEC_DEFINED
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
struct _timespec64 {
    __time64_t tv_sec;
    long tv_nsec;
};
#endif

#ifndef TIME_UTC
#define TIME_UTC 1
#endif

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl _timespec64_get(struct _timespec64* ts, int base);
static inline int __cdecl timespec_get(struct timespec* ts, int base) {
    return _timespec64_get((struct _timespec64*)ts, base);
}
#ifdef __cplusplus
}
#endif

_ACRTIMP errno_t __cdecl _gmtime64_s(struct tm* result, const __time64_t* time);

// The bounds-checked conversions, as the Universal C runtime's inline wrappers of its 64-bit exports.
static inline errno_t __cdecl localtime_s(struct tm* result, const time_t* time) {
    return _localtime64_s(result, time);
}
static inline errno_t __cdecl gmtime_s(struct tm* result, const time_t* time) {
    return _gmtime64_s(result, time);
}
