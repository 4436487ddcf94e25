#pragma once

#include "BuildingModel.hpp"
#include "ExportOptions.hpp"
#include "SheetTable.hpp"

#include <vector>

namespace SafWorkbook {

constexpr const char* SafVersion = "2.2.0";

// The SAF sheets of a model whose references hold (as the model reader guarantees): Model first,
// then every object sheet with its header row, in the order readers usually list them. Element
// kinds are not applied here (see SelectExported).
std::vector<Sheet> BuildSafSheets(const Building::Model& model, const ExportOptions& options);

} // namespace SafWorkbook
