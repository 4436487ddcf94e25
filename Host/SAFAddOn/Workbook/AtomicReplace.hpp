#pragma once

#include <filesystem>
#include <string>

namespace SafWorkbook {

// Writes `bytes` to a new file beside `target`, then renames it over `target`: a reader sees the old
// file or the whole new one, and a failed write leaves the old file untouched and no temporary file
// behind. Returns an empty text on success, else what went wrong.
std::string WriteFileAtomically(const std::filesystem::path& target, const std::string& bytes);

} // namespace SafWorkbook
