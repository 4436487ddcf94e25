#include "Geometry.hpp"

#include <cmath>

namespace SafWorkbook {

ModelGeometry::ModelGeometry(const Building::Model& source) : model(source) {
    nodeIndex.reserve(model.nodes.size());
    for (std::size_t index = 0; index < model.nodes.size(); ++index) {
        nodeIndex.emplace(model.nodes[index].name, static_cast<std::uint32_t>(index));
    }
}

const std::uint32_t* ModelGeometry::IndexOf(std::string_view node) const {
    const auto found = nodeIndex.find(node);
    return found == nodeIndex.end() ? nullptr : &found->second;
}

std::array<double, 3> ModelGeometry::At(std::string_view node) const {
    const std::uint32_t* index = IndexOf(node);
    if (index == nullptr) {
        return {};
    }
    const Building::Node& found = model.nodes[*index];
    return {found.x, found.y, found.z};
}

double ModelGeometry::PolylineLength(const std::vector<std::string>& nodes) const {
    double length = 0.0;
    for (std::size_t index = 1; index < nodes.size(); ++index) {
        const auto from = At(nodes[index - 1]);
        const auto to = At(nodes[index]);
        length += std::hypot(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
    }
    return length;
}

double ModelGeometry::PolygonArea(const std::vector<std::string>& nodes) const {
    std::array<double, 3> normal{};
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        const auto current = At(nodes[index]);
        const auto next = At(nodes[(index + 1) % nodes.size()]);
        normal[0] += (current[1] - next[1]) * (current[2] + next[2]);
        normal[1] += (current[2] - next[2]) * (current[0] + next[0]);
        normal[2] += (current[0] - next[0]) * (current[1] + next[1]);
    }
    return 0.5 * std::hypot(normal[0], normal[1], normal[2]);
}

} // namespace SafWorkbook
