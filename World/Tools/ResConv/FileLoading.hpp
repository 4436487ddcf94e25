#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace ResConv {

// Reads the file that a source names (an icon image, the manifest); nothing when it cannot be read.
// Tests hand the compiler files held in memory.
using FileLoader = std::function<std::optional<std::string>(const std::filesystem::path& path)>;

std::optional<std::string> LoadFileFromDisk(const std::filesystem::path& path);

// A path as a source writes it is relative to the folder of the source file.
std::filesystem::path ResolveBesideSource(const std::string& sourceName, const std::string& path);

} // namespace ResConv
