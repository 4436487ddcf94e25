#pragma once

#include "Result/Result.hpp"

#include <filesystem>
#include <functional>
#include <string_view>

// How the world's own programs (ResConv, WriteSafWorkbook) replace a file they make: `write` fills a
// new file beside `target` ("NAME.RANDOM.tmp", handed to it), which is then renamed over `target`. A
// reader sees the old file or the whole new one; a failed write leaves the old file as it was and no
// temporary file behind. (The host's files go through GS::CarefulFile, which also syncs, locks and
// honours read-only marks.)
namespace AtomicFile {

using Writer = std::function<Result<>(const std::filesystem::path& temporary)>;

Result<> Replace(const std::filesystem::path& target, const Writer& write);

// `bytes` as the file's new content.
Result<> ReplaceWith(const std::filesystem::path& target, std::string_view bytes);

} // namespace AtomicFile
