#pragma once

#include "ResFormat/ResourceEntry.hpp"

#include <cstdint>
#include <vector>

namespace ResConv {

// The writing stage, second half: entries to the bytes of a 32-bit .res file (the leading empty
// entry, then each entry's header and data, every header and size computed here).
std::vector<std::uint8_t> WriteResFile(const std::vector<ResFormat::ResourceEntry>& entries);

} // namespace ResConv
