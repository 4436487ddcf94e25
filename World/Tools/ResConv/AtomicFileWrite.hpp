#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace ResConv {

// Writes `bytes` beside `path`, then renames the file over `path`: a failure at any point leaves
// whatever `path` held before and no partial file. Returns the reason on failure.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes);

} // namespace ResConv
