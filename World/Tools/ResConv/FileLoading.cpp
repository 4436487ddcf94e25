#include "FileLoading.hpp"

#include <fstream>
#include <iterator>

namespace ResConv {

std::optional<std::string> LoadFileFromDisk(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    return stream.bad() ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

std::filesystem::path ResolveBesideSource(const std::string& sourceName, const std::string& path) {
    return std::filesystem::path(sourceName).parent_path() / path;
}

} // namespace ResConv
