#include "ExportSelection.hpp"

#include <array>
#include <set>
#include <string_view>

namespace SafWorkbook {
namespace {

template <typename Object>
std::vector<const Object*> KeepNamed(const std::vector<Object>& objects,
                                     const std::set<std::string_view>& names) {
    std::vector<const Object*> kept;
    for (const Object& object : objects) {
        if (names.count(object.name) != 0) {
            kept.push_back(&object);
        }
    }
    return kept;
}

template <typename Object>
std::vector<const Object*> All(const std::vector<Object>& objects) {
    std::vector<const Object*> all;
    all.reserve(objects.size());
    for (const Object& object : objects) {
        all.push_back(&object);
    }
    return all;
}

class NodeUse {
public:
    NodeUse(const Building::Model& source, const ModelGeometry& index)
        : model(source), geometry(index), used(source.nodes.size(), false) {}

    template <typename Names>
    void Mark(const Names& names) {
        for (const auto& name : names) {
            if (const std::optional<std::uint32_t> index = geometry.IndexOf(name)) {
                used[*index] = true;
            }
        }
    }

    std::vector<const Building::Node*> Used() const {
        std::vector<const Building::Node*> nodes;
        for (std::size_t index = 0; index < used.size(); ++index) {
            if (used[index]) {
                nodes.push_back(&model.nodes[index]);
            }
        }
        return nodes;
    }

private:
    const Building::Model& model;
    const ModelGeometry& geometry;
    std::vector<bool> used;
};

} // namespace

ExportedModel SelectExported(const Building::Model& model, const ElementKinds& kinds,
                             const ModelGeometry& geometry) {
    ExportedModel selected;
    NodeUse nodes(model, geometry);
    std::set<std::string_view> sections;
    std::set<std::string_view> materials;
    for (const Building::CurveMember& member : model.curveMembers) {
        if (member.type == "Column" ? kinds.columns : kinds.beams) {
            selected.curveMembers.push_back(&member);
            sections.insert(member.crossSection);
            nodes.Mark(member.nodes);
        }
    }
    for (const Building::SurfaceMember& surface : model.surfaceMembers) {
        if (surface.type == "Wall" ? kinds.walls : kinds.slabs) {
            selected.surfaceMembers.push_back(&surface);
            materials.insert(surface.material);
            nodes.Mark(surface.nodes);
        }
    }
    if (kinds.supports) {
        selected.supports = All(model.supports);
        for (const Building::PointSupport& support : model.supports) {
            nodes.Mark(std::array<std::string_view, 1>{support.node});
        }
    }
    if (kinds.storeys) {
        selected.storeys = All(model.storeys);
    }
    selected.crossSections = KeepNamed(model.crossSections, sections);
    for (const Building::CrossSection* section : selected.crossSections) {
        materials.insert(section->material);
    }
    selected.materials = KeepNamed(model.materials, materials);
    selected.nodes = nodes.Used();
    return selected;
}

} // namespace SafWorkbook
