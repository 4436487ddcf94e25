#pragma once

#include "BuildingModel.hpp"
#include "ExportOptions.hpp"

namespace SafWorkbook {

// The part of the model that the element kinds let through: the chosen members, surfaces, supports
// and storeys, and just the nodes, cross-sections and materials those use, in the model's order.
Building::Model SelectExported(const Building::Model& model, const ElementKinds& kinds);

} // namespace SafWorkbook
