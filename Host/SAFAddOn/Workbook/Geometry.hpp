#pragma once

#include "BuildingModel.hpp"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace SafWorkbook {

// Lengths and areas the workbook states beside the node lists, from the model's node coordinates (m).
class ModelGeometry {
public:
    explicit ModelGeometry(const Building::Model& model);

    double PolylineLength(const std::vector<std::string>& nodes) const;
    // The area of a plane polygon in space (Newell's normal); a node it does not know counts as the
    // origin, which the model reader never lets happen.
    double PolygonArea(const std::vector<std::string>& nodes) const;

private:
    std::array<double, 3> At(const std::string& node) const;

    std::map<std::string, std::array<double, 3>> coordinates;
};

} // namespace SafWorkbook
