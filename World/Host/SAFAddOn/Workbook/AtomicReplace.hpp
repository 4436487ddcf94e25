#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace SafWorkbook {

// Has `write` fill a new file beside `target` (it gets the file's path and answers an empty text, or
// what went wrong), then renames it over `target`: a reader sees the old file or the whole new one,
// and a failed write leaves the old file untouched and no temporary file behind. Returns an empty
// text on success, else what went wrong.
std::string ReplaceFileAtomically(const std::filesystem::path& target,
                                  const std::function<std::string(const std::filesystem::path&)>& write);

} // namespace SafWorkbook
