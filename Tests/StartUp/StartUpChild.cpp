// A program of its own for what must happen in a fresh process: `cookie PROBE.dll` prints, in hex, the
// stack cookie that the probe DLL's first protected function saw at load, then this program's own;
// `overflow` overruns a protected buffer on purpose and prints "returned" if it ever comes back.
#include "StartUpProbe.hpp"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern "C" std::uintptr_t __security_cookie;

namespace {

// The length comes from outside, so that the compiler cannot see the overrun coming and refuse it.
__declspec(noinline) void FillBuffer(std::size_t length) {
    char buffer[16];
    volatile char* out = buffer;
    for (std::size_t index = 0; index < length; ++index) {
        out[index] = 'A';
    }
    std::printf("%c\n", buffer[0]);
}

// Any other crash ends the process at once with its own code, instead of waiting for a debugger (Wine
// starts one): a fail-fast end never comes here on Windows, whatever is installed.
LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS* exception) {
    ::TerminateProcess(::GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

int PrintCookies(const char* probePath) {
    const HMODULE probe = ::LoadLibraryW(std::filesystem::path(probePath).wstring().c_str());
    if (probe == nullptr) {
        std::printf("cannot load %s: %lu\n", probePath, ::GetLastError());
        return 2;
    }
    const auto cookieAtLoad = reinterpret_cast<ProbeCookieAtLoadProc>(
        reinterpret_cast<void*>(::GetProcAddress(probe, "ProbeCookieAtLoad")));
    std::printf("%llx %llx\n", static_cast<unsigned long long>(cookieAtLoad()),
                static_cast<unsigned long long>(__security_cookie));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    ::SetUnhandledExceptionFilter(&EndWithTheExceptionCode);
    if (argc == 3 && std::strcmp(argv[1], "cookie") == 0) {
        return PrintCookies(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "overflow") == 0) {
        FillBuffer(static_cast<std::size_t>(std::atoi(argv[2])));
        std::printf("returned\n");
        return 0;
    }
    std::fprintf(stderr, "usage: StartUpChild cookie PROBE.dll | overflow LENGTH\n");
    return 64;
}
