#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The host's string list ("STRS"): a 4-byte little-endian count N of the bytes that follow, then N
// bytes of texts, each ended by one NUL. No offsets, no alignment: text k + 1 begins right after the
// NUL of text k, and the NUL of the last text is the last byte of the resource.
namespace ResFormat {

constexpr std::string_view StringListTypeName = "STRS";

struct StringList {
    // Views into the bytes that were parsed, in index order (index k is texts[k - 1]).
    std::vector<std::string_view> texts;
    // Set when the bytes are not a well-formed list; `texts` is then empty.
    std::optional<std::string> problem;
};

StringList ParseStringList(std::span<const std::uint8_t> bytes);

} // namespace ResFormat
