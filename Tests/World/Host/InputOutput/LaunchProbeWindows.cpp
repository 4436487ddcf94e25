#include "LaunchProbeRecord.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

std::string Utf8(const wchar_t* text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    if (bytes > 1) {
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), bytes, nullptr, nullptr);
    }
    return converted;
}

} // namespace

// The wide entry point: argv as the C runtime split the command line, without a code page in between.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(Utf8(argv[i]));
    }
    return LaunchProbe::RecordAndHold(::GetCurrentProcessId(), arguments);
}
