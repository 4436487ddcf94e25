#include "Geometry.hpp"

#include <cmath>

namespace SafWorkbook {

namespace {

// The length of a 3-vector without overflow or underflow. Two-argument hypot twice, not C++17's
// three-argument one: on Windows that lives in msvcp140_2.dll, a runtime DLL the host need not ship
// (and which Wine has only as a stub).
double Length(double x, double y, double z) {
    return std::hypot(std::hypot(x, y), z);
}

} // namespace

ModelGeometry::ModelGeometry(const Building::Model& model) {
    for (const Building::Node& node : model.nodes) {
        coordinates[node.name] = {node.x, node.y, node.z};
    }
}

std::array<double, 3> ModelGeometry::At(const std::string& node) const {
    const auto found = coordinates.find(node);
    return found == coordinates.end() ? std::array<double, 3>{} : found->second;
}

double ModelGeometry::PolylineLength(const std::vector<std::string>& nodes) const {
    double length = 0.0;
    for (std::size_t index = 1; index < nodes.size(); ++index) {
        const auto from = At(nodes[index - 1]);
        const auto to = At(nodes[index]);
        length += Length(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
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
    return 0.5 * Length(normal[0], normal[1], normal[2]);
}

} // namespace SafWorkbook
