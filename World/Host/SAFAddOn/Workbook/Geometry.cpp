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

std::size_t HashOf(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325ULL; // FNV-1a
    for (const char character : name) {
        hash ^= static_cast<unsigned char>(character);
        hash *= 0x100000001b3ULL;
    }
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

} // namespace

ModelGeometry::ModelGeometry(const Building::Model& source) : model(source) {
    std::size_t size = 16;
    while (size < 2 * model.nodes.size()) {
        size *= 2;
    }
    slots.assign(size, 0);
    mask = size - 1;
    for (std::size_t index = 0; index < model.nodes.size(); ++index) {
        std::size_t slot = HashOf(model.nodes[index].name) & mask;
        while (slots[slot] != 0) {
            if (model.nodes[slots[slot] - 1].name == model.nodes[index].name) {
                break; // a repeated name keeps its first node, as a lookup by name would
            }
            slot = (slot + 1) & mask;
        }
        if (slots[slot] == 0) {
            slots[slot] = static_cast<std::uint32_t>(index + 1);
        }
    }
}

std::optional<std::uint32_t> ModelGeometry::IndexOf(std::string_view node) const {
    for (std::size_t slot = HashOf(node) & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
        if (model.nodes[slots[slot] - 1].name == node) {
            return slots[slot] - 1;
        }
    }
    return std::nullopt;
}

std::array<double, 3> ModelGeometry::At(std::string_view node) const {
    const std::optional<std::uint32_t> index = IndexOf(node);
    if (!index) {
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
