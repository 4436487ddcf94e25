#pragma once

#include "ResName.hpp"

#include <cstdint>
#include <vector>

namespace ResFormat {

// One resource of a .res file, with its own copy of the data.
struct ResourceEntry {
    ResName type;
    ResName name;
    std::uint16_t language = 0;
    std::uint16_t memoryFlags = 0;
    std::uint32_t dataVersion = 0;
    std::uint32_t version = 0;
    std::uint32_t characteristics = 0;
    std::vector<std::uint8_t> data;
};

} // namespace ResFormat
