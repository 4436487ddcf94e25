#pragma once

#include "ResFormat/ResourceEntry.hpp"

#include <string>
#include <vector>

namespace ResConv {

// A readable listing of resources: one line per resource (type, name, language, size), then the
// texts of a string list, or the bytes in hex for any other type.
std::string DumpResources(const std::vector<ResFormat::ResourceEntry>& entries);

} // namespace ResConv
