#pragma once

#include "BuildingModel.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SafWorkbook {

// The model's nodes by name, and the lengths and areas the workbook states beside the node lists,
// from the node coordinates (m). It refers to the model's own strings, so the model must outlive it.
class ModelGeometry {
public:
    explicit ModelGeometry(const Building::Model& model);

    // The node's position in the model's node list, or nothing.
    const std::uint32_t* IndexOf(std::string_view node) const;

    double PolylineLength(const std::vector<std::string>& nodes) const;
    // The area of a plane polygon in space (Newell's normal); a node it does not know counts as the
    // origin, which the model reader never lets happen.
    double PolygonArea(const std::vector<std::string>& nodes) const;

private:
    std::array<double, 3> At(std::string_view node) const;

    const Building::Model& model;
    std::unordered_map<std::string_view, std::uint32_t> nodeIndex;
};

} // namespace SafWorkbook
