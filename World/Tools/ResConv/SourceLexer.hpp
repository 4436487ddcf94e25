#pragma once

#include "Diagnostics.hpp"
#include "SourceModel.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace ResConv {

// Splits one source line into its values (the first is the line's keyword); an empty or comment
// line gives none. A line that cannot be split is reported and gives nothing.
std::optional<std::vector<SourceValue>> LexLine(std::string_view line, const SourcePosition& position,
                                                Diagnostics& diagnostics);

} // namespace ResConv
