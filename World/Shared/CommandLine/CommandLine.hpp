#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace CommandLine {

// The program's arguments after its own name, as UTF-8. On Windows they are taken from the wide
// command line, because the narrow argv of the C runtime holds the system code page and loses every
// letter outside it; elsewhere argv is already the bytes the caller passed.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Paths kept as UTF-8 text (command lines, scripts, transcripts), converted without the native narrow
// encoding getting in the way on Windows.
inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace CommandLine
