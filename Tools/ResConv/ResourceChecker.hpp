#pragma once

#include "CheckedModel.hpp"
#include "Diagnostics.hpp"
#include "SourceModel.hpp"

#include <vector>

namespace ResConv {

// The checking stage: holds every resource against its kind (number, language, every record's
// shape, every field's type and width) and the resources against each other (no two alike).
// A resource with any error is reported and left out.
std::vector<CheckedResource> CheckResources(const std::vector<ResourceSource>& sources,
                                            Diagnostics& diagnostics);

} // namespace ResConv
