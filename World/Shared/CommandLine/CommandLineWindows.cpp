#include "CommandLine.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// After windows.h, whose definitions it needs.
#include <shellapi.h>

#include <memory>

namespace CommandLine {

namespace {

std::string ToUtf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

struct LocalFreeDeleter {
    void operator()(wchar_t** block) const { ::LocalFree(block); }
};

} // namespace

std::vector<std::string> Utf8Arguments(int /*argc*/, char** /*argv*/) {
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalFreeDeleter> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> utf8;
    for (int index = 1; arguments != nullptr && index < count; ++index) {
        utf8.push_back(ToUtf8(arguments.get()[index]));
    }
    return utf8;
}

} // namespace CommandLine
