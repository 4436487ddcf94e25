#pragma once

#include "CheckedModel.hpp"
#include "Diagnostics.hpp"
#include "FileLoading.hpp"
#include "SourceModel.hpp"

#include <vector>

namespace ResConv {

// The checking stage, first half: holds every resource against its kind (number or name,
// language, the order of its lines, every record's shape, every field's type and width, the files
// it names) and the resources against each other (no two alike). A resource with any error is
// reported and left out.
std::vector<CheckedResource> CheckResources(const std::vector<ResourceSource>& sources,
                                            const FileLoader& loadFile, Diagnostics& diagnostics);

} // namespace ResConv
