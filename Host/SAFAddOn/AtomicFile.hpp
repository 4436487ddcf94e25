#pragma once

#include <filesystem>
#include <string>

namespace SAF {

// Replaces `path` with `bytes` so that a crash leaves either the old file or the new one: the bytes
// go to a temporary file in the same folder, are flushed, and the temporary file is renamed over
// `path`. False, with the reason, when it could not; the old file is then untouched and the
// temporary file removed.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes, std::string& error);

// The whole file; false, with the reason, when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::string& error);

} // namespace SAF
