// Thread-safe initialisation of function-local statics, as the MSVC ABI's compilers emit it: each
// static has a guard word; a thread that finds it uninitialised calls _Init_thread_header, and at
// most one thread at a time runs the initialiser while the others wait. A finished static's guard
// holds the epoch at which it was finished, and each thread keeps in _Init_thread_epoch the newest
// epoch it has seen, so that the compiler's inline check (guard > this thread's epoch) sends a thread
// here only while it could still see an unfinished static.
#include <limits.h>
#include <windows.h>

enum {
    Uninitialized = 0,
    BeingInitialized = -1,
};

int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

static SRWLOCK guardLock = SRWLOCK_INIT;
static CONDITION_VARIABLE guardFinished = CONDITION_VARIABLE_INIT;

void __cdecl _Init_thread_header(int* guard) {
    AcquireSRWLockExclusive(&guardLock);
    while (*guard == BeingInitialized) {
        SleepConditionVariableSRW(&guardFinished, &guardLock, INFINITE, 0);
    }
    if (*guard == Uninitialized) {
        *guard = BeingInitialized;
    } else {
        _Init_thread_epoch = _Init_global_epoch;
    }
    ReleaseSRWLockExclusive(&guardLock);
}

void __cdecl _Init_thread_footer(int* guard) {
    AcquireSRWLockExclusive(&guardLock);
    ++_Init_global_epoch;
    *guard = _Init_global_epoch;
    _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guardLock);
    WakeAllConditionVariable(&guardFinished);
}

// The initialiser threw: the static stays uninitialised, and one waiting thread may try again.
void __cdecl _Init_thread_abort(int* guard) {
    AcquireSRWLockExclusive(&guardLock);
    *guard = Uninitialized;
    ReleaseSRWLockExclusive(&guardLock);
    WakeAllConditionVariable(&guardFinished);
}
