#pragma once

#include "Diagnostics.hpp"
#include "FileLoading.hpp"
#include "SourceModel.hpp"

#include <cstdint>
#include <vector>

namespace ResConv {

struct Compilation {
    Diagnostics diagnostics;
    // The .res file; empty when there are diagnostics.
    std::vector<std::uint8_t> resFile;
};

// Reads, checks and writes: the sources in, one .res file out, in the order the sources were given.
// Files that the sources name (images, the manifest) come through `loadFile`.
Compilation CompileSources(const std::vector<SourceText>& sources,
                           const FileLoader& loadFile = LoadFileFromDisk);

} // namespace ResConv
