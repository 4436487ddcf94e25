#pragma once

#include <filesystem>
#include <string>

namespace HostSim {

// hostsim keeps paths as UTF-8 text (its command line, scripts and transcript are UTF-8); these
// convert without the native narrow encoding getting in the way on Windows.
inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace HostSim
