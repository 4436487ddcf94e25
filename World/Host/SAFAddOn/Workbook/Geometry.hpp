#pragma once

#include "BuildingModel.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SafWorkbook {

// The model's nodes by name, and the lengths and areas the workbook states beside the node lists,
// from the node coordinates (m). Names are found through an open-addressing table of node positions
// (4 bytes a slot, at most half full), which keeps a million-member export's lookups to the table slot
// and the node itself. The model must outlive it.
class ModelGeometry {
public:
    explicit ModelGeometry(const Building::Model& model);

    // The node's position in the model's node list, or nothing.
    std::optional<std::uint32_t> IndexOf(std::string_view node) const;

    double PolylineLength(const std::vector<std::string>& nodes) const;
    // The area of a plane polygon in space (Newell's normal); a node it does not know counts as the
    // origin, which the model reader never lets happen.
    double PolygonArea(const std::vector<std::string>& nodes) const;

private:
    std::array<double, 3> At(std::string_view node) const;

    const Building::Model& model;
    std::vector<std::uint32_t> slots; // node position + 1; 0 is a free slot
    std::size_t mask = 0;
};

} // namespace SafWorkbook
