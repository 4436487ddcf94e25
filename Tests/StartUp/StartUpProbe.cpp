// The start-up probe (StartUpProbe.hpp): every piece of start-up code that a DLL carries runs here as
// it runs in the add-on module.
#define START_UP_PROBE_BUILD
#include "StartUpProbe.hpp"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" std::uintptr_t __security_cookie;
extern "C" void* __guard_dispatch_icall_fptr;

namespace {

std::atomic<ProbeRecorder> recorder{nullptr};

void Record(const char* what) {
    const ProbeRecorder record = recorder.load();
    if (record != nullptr) {
        record((std::string(PROBE_NAME) + ": " + what).c_str());
    }
}

// A buffer on the stack makes the compiler keep a cookie in this frame and check it on return; the
// cookie it is checked against is read while the frame is live.
__declspec(noinline) std::uintptr_t CookieSeenInAProtectedFrame() {
    volatile char buffer[32];
    std::memset(const_cast<char*>(buffer), 0, sizeof(buffer));
    buffer[0] = 1;
    return __security_cookie + static_cast<std::uintptr_t>(buffer[0] - 1);
}

struct Witness {
    Witness() : answer(42), cookieAtLoad(CookieSeenInAProtectedFrame()) {
        std::atexit([] { Record("atexit"); });
    }
    ~Witness() {
        answer = 0;
        Record("static destroyed");
    }
    int answer;
    std::uintptr_t cookieAtLoad;
};
Witness witness;

std::atomic<int> slowConstructions{0};

struct Slow {
    Slow() {
        ++slowConstructions;
        ::Sleep(100); // long enough that every other thread arrives while this one builds it
        value = 7;
    }
    int value = 0;
};

} // namespace

START_UP_PROBE_API void ProbeSetRecorder(ProbeRecorder record) {
    recorder = record;
}

START_UP_PROBE_API int ProbeAnswer() {
    return witness.answer;
}

START_UP_PROBE_API const void* ProbeSlowStatic(int* value) {
    static Slow slow;
    *value = slow.value;
    return &slow;
}

START_UP_PROBE_API int ProbeSlowStaticConstructions() {
    return slowConstructions.load();
}

START_UP_PROBE_API std::uintptr_t ProbeCookieAtLoad() {
    return witness.cookieAtLoad;
}

START_UP_PROBE_API const void* ProbeCookieAddress() {
    return &__security_cookie;
}

START_UP_PROBE_API const void* ProbeGuardDispatchAddress() {
    return &__guard_dispatch_icall_fptr;
}
