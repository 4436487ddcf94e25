// Wine's math.h, completed to what the MSVC STL's <cmath> expects of the Universal C runtime's:
// - long double is double in the MSVC x64 ABI, so every `...l` function forwards to the double one,
//   inline, as the Windows SDK's header does;
// - the classification macros go in C++: there the STL and the overloads below provide them as
//   functions, and the macros would rewrite the STL's declarations of those functions;
// - the few C99 functions Wine's header leaves out are declared; ucrtbase.dll exports them.
#pragma once
#include_next <math.h>

// In C (expat's sources) Wine's macros are the classification there is, and stay.
#ifdef __cplusplus
#undef fpclassify
#undef signbit
#undef isinf
#undef isnan
#undef isnormal
#undef isfinite
#undef isgreater
#undef isgreaterequal
#undef isless
#undef islessequal
#undef islessgreater
#undef isunordered
#endif

typedef float float_t;
typedef double double_t;

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP double __cdecl nan(const char*);
_ACRTIMP double __cdecl erfc(double);
_ACRTIMP float __cdecl erfcf(float);
_ACRTIMP float __cdecl nanf(const char*);
_ACRTIMP double __cdecl fma(double, double, double);
_ACRTIMP float __cdecl fmaf(float, float, float);
_ACRTIMP double __cdecl nexttoward(double, long double);
_ACRTIMP float __cdecl nexttowardf(float, long double);
#ifdef __cplusplus
}
#endif

#define VELD_LONG_DOUBLE_1(name)                                                                             \
    static inline long double name##l(long double x) {                                                       \
        return name((double)x);                                                                              \
    }
#define VELD_LONG_DOUBLE_2(name)                                                                             \
    static inline long double name##l(long double x, long double y) {                                        \
        return name((double)x, (double)y);                                                                   \
    }
// clang-format off
VELD_LONG_DOUBLE_1(acos)
VELD_LONG_DOUBLE_1(asin)
VELD_LONG_DOUBLE_1(atan)
VELD_LONG_DOUBLE_2(atan2)
VELD_LONG_DOUBLE_1(ceil)
VELD_LONG_DOUBLE_1(cos)
VELD_LONG_DOUBLE_1(cosh)
VELD_LONG_DOUBLE_1(exp)
VELD_LONG_DOUBLE_1(fabs)
VELD_LONG_DOUBLE_1(floor)
VELD_LONG_DOUBLE_2(fmod)
VELD_LONG_DOUBLE_1(log)
VELD_LONG_DOUBLE_1(log10)
VELD_LONG_DOUBLE_2(pow)
VELD_LONG_DOUBLE_1(sin)
VELD_LONG_DOUBLE_1(sinh)
VELD_LONG_DOUBLE_1(sqrt)
VELD_LONG_DOUBLE_1(tan)
VELD_LONG_DOUBLE_1(tanh)
VELD_LONG_DOUBLE_1(acosh)
VELD_LONG_DOUBLE_1(asinh)
VELD_LONG_DOUBLE_1(atanh)
VELD_LONG_DOUBLE_1(cbrt)
VELD_LONG_DOUBLE_1(erf)
VELD_LONG_DOUBLE_1(erfc)
VELD_LONG_DOUBLE_1(expm1)
VELD_LONG_DOUBLE_1(exp2)
VELD_LONG_DOUBLE_2(hypot)
VELD_LONG_DOUBLE_1(lgamma)
VELD_LONG_DOUBLE_1(log1p)
VELD_LONG_DOUBLE_1(log2)
VELD_LONG_DOUBLE_1(logb)
VELD_LONG_DOUBLE_1(nearbyint)
VELD_LONG_DOUBLE_1(rint)
VELD_LONG_DOUBLE_1(round)
VELD_LONG_DOUBLE_1(trunc)
VELD_LONG_DOUBLE_2(fdim)
VELD_LONG_DOUBLE_2(fmax)
VELD_LONG_DOUBLE_2(fmin)
VELD_LONG_DOUBLE_2(remainder)
VELD_LONG_DOUBLE_2(copysign)
VELD_LONG_DOUBLE_2(nextafter)
VELD_LONG_DOUBLE_1(tgamma)
// clang-format on
#undef VELD_LONG_DOUBLE_1
#undef VELD_LONG_DOUBLE_2

static inline long double frexpl(long double x, int* e) {
    return frexp((double)x, e);
}
static inline long double ldexpl(long double x, int e) {
    return ldexp((double)x, e);
}
static inline long double modfl(long double x, long double* i) {
    double whole;
    double fraction = modf((double)x, &whole);
    *i = whole;
    return fraction;
}
static inline int ilogbl(long double x) {
    return ilogb((double)x);
}
static inline long long llrintl(long double x) {
    return llrint((double)x);
}
static inline long lrintl(long double x) {
    return lrint((double)x);
}
static inline long long llroundl(long double x) {
    return llround((double)x);
}
static inline long lroundl(long double x) {
    return lround((double)x);
}
static inline long double fmal(long double x, long double y, long double z) {
    return fma((double)x, (double)y, (double)z);
}
static inline long double remquol(long double x, long double y, int* q) {
    return remquo((double)x, (double)y, q);
}
static inline long double nanl(const char* tag) {
    return nan(tag);
}
static inline long double scalbnl(long double x, int e) {
    return scalbn((double)x, e);
}
static inline long double scalblnl(long double x, long e) {
    return scalbln((double)x, e);
}
static inline long double nexttowardl(long double x, long double y) {
    return nexttoward((double)x, y);
}

#ifdef __cplusplus
extern "C++" {
inline int fpclassify(float x) noexcept {
    return __builtin_fpclassify(FP_NAN, FP_INFINITE, FP_NORMAL, FP_SUBNORMAL, FP_ZERO, x);
}
inline int fpclassify(double x) noexcept {
    return __builtin_fpclassify(FP_NAN, FP_INFINITE, FP_NORMAL, FP_SUBNORMAL, FP_ZERO, x);
}
inline int fpclassify(long double x) noexcept {
    return __builtin_fpclassify(FP_NAN, FP_INFINITE, FP_NORMAL, FP_SUBNORMAL, FP_ZERO, x);
}
inline bool signbit(float x) noexcept {
    return __builtin_signbit(x);
}
inline bool signbit(double x) noexcept {
    return __builtin_signbit(x);
}
inline bool signbit(long double x) noexcept {
    return __builtin_signbit(x);
}
}
#endif
