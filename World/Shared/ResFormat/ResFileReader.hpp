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

// One resource as the bytes hold it: its data is a view into the bytes that were read.
struct ResourceView {
    ResName type;
    ResName name;
    std::uint16_t language = 0;
    std::uint16_t memoryFlags = 0;
    std::uint32_t dataVersion = 0;
    std::uint32_t version = 0;
    std::uint32_t characteristics = 0;
    std::span<const std::uint8_t> data;
};

struct ResFileIndex {
    // The resources in file order, without the leading empty entry.
    std::vector<ResourceView> entries;
    // Set when the bytes are not a well-formed 32-bit resource file; `entries` is then empty.
    std::optional<ResFileProblem> problem;
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
// The same walk without copying any resource's data: the views are valid as long as `bytes` is.
ResFileIndex IndexResFile(std::span<const std::uint8_t> bytes);

} // namespace ResFormat
