#pragma once

#include "CheckedModel.hpp"
#include "ResFormat/ResourceEntry.hpp"

#include <vector>

namespace ResConv {

// The writing stage, first half: a checked resource to its entry in the .res file, with every byte
// count computed here. An icon group is written after its icons: `written` holds the entries written
// so far, whose sizes its directory states. Throws std::length_error for a resource too large for a
// 32-bit count.
ResFormat::ResourceEntry WriteResourceEntry(const CheckedResource& resource,
                                            const std::vector<ResFormat::ResourceEntry>& written);

} // namespace ResConv
