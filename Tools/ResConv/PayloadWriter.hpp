#pragma once

#include "CheckedModel.hpp"
#include "ResFormat/ResourceEntry.hpp"

namespace ResConv {

// The writing stage, first half: a checked resource to its entry in the .res file, with every byte
// count computed here. Throws std::length_error for a resource too large for a 32-bit count.
ResFormat::ResourceEntry WriteResourceEntry(const CheckedResource& resource);

} // namespace ResConv
