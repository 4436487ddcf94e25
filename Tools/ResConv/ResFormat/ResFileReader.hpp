#pragma once

#include "ResourceEntry.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ResFormat {

// Where and why a .res file could not be read.
struct ResFileProblem {
    std::size_t offset = 0;
    std::string message;
};

struct ResFileContents {
    // The resources in file order, without the leading empty entry.
    std::vector<ResourceEntry> entries;
    // Set when the bytes are not a well-formed 32-bit resource file; `entries` is then empty.
    std::optional<ResFileProblem> problem;
};

// Reads any byte sequence without reading outside it: malformed input gives a problem, never a
// crash. A missing pad after the last entry's data is tolerated, as Windows tolerates it.
ResFileContents ReadResFile(std::span<const std::uint8_t> bytes);

} // namespace ResFormat
