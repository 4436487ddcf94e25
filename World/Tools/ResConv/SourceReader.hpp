#pragma once

#include "Diagnostics.hpp"
#include "SourceModel.hpp"

#include <vector>

namespace ResConv {

// The reading stage: source text to the resources it declares. A source with any error is reported
// and left out, so later stages see only sources that read cleanly.
std::vector<ResourceSource> ReadSources(const std::vector<SourceText>& sources, Diagnostics& diagnostics);

} // namespace ResConv
