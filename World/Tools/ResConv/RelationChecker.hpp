#pragma once

#include "CheckedModel.hpp"
#include "Diagnostics.hpp"

#include <vector>

namespace ResConv {

// The checking stage, second half: what no single line shows. A dialog's items are numbered 1, 2, ...
// in the order of their lines and lie inside the dialog; a help record describes the items of the
// dialog with its number, in the same order; an icon group names icons that exist, and states their
// sizes and bit counts as their images have them (or 0 where the directory allows it).
void CheckRelations(const std::vector<CheckedResource>& resources, Diagnostics& diagnostics);

} // namespace ResConv
