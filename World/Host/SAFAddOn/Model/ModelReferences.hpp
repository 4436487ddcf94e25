#pragma once

#include "BuildingModel.hpp"

namespace Building {

// Throws ModelFault for the first duplicate name within a kind or the first reference to an object
// that does not exist, in the order the lists appear in the document.
void CheckNamesAndReferences(const Model& model);

} // namespace Building
