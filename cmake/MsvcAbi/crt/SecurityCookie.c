// Stack cookies (/GS, -fstack-protector-strong): a function with a buffer on its stack stores
// __security_cookie (mixed with its stack pointer) below its return address and, before returning,
// has __security_check_cookie compare it. A buffer overrun that reaches the return address changes
// the stored value, and the process ends at once instead of running what the overrun wrote.
//
// The value is the documented x64 default until the module starts: the Windows loader (and Wine's)
// replaces a default cookie named by the load configuration directory (LoadConfig.c) with a random
// one before the entry point runs; __security_init_cookie makes one itself where no loader did.
#include <windows.h>

#include <stdint.h>

#define DEFAULT_SECURITY_COOKIE ((uintptr_t)0x00002B992DDFA232ull)
// The same mask as the loader's: the top 16 bits stay zero, so a cookie can never be a valid
// canonical pointer to user memory turned into one by a partial overwrite.
#define SECURITY_COOKIE_MASK ((uintptr_t)0x0000FFFFFFFFFFFFull)

uintptr_t __security_cookie = DEFAULT_SECURITY_COOKIE;
uintptr_t __security_cookie_complement = ~DEFAULT_SECURITY_COOKIE;

__attribute__((no_stack_protector)) void __cdecl __security_init_cookie(void) {
    if (__security_cookie != DEFAULT_SECURITY_COOKIE) {
        return; // the loader has made it
    }
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    uintptr_t cookie = ((uintptr_t)now.dwHighDateTime << 32) ^ now.dwLowDateTime;
    cookie ^= (uintptr_t)GetCurrentThreadId() << 32 ^ GetCurrentProcessId();
    cookie ^= ((uintptr_t)counter.LowPart << 32) ^ (uintptr_t)counter.QuadPart;
    cookie ^= (uintptr_t)&cookie; // the stack's address, itself randomised
    cookie &= SECURITY_COOKIE_MASK;
    if (cookie == DEFAULT_SECURITY_COOKIE) {
        ++cookie;
    }
    __security_cookie = cookie;
    __security_cookie_complement = ~cookie;
}

// A broken cookie means the stack is no longer trustworthy: no handler, no unwinding, no atexit. The
// fail-fast trap ends the process and Windows reports a stack buffer overrun.
__attribute__((no_stack_protector, noreturn)) void __cdecl __report_gsfailure(uintptr_t cookie) {
    (void)cookie;
    __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

__attribute__((no_stack_protector)) void __cdecl __security_check_cookie(uintptr_t cookie) {
    if (cookie != __security_cookie) {
        __report_gsfailure(cookie);
    }
}
