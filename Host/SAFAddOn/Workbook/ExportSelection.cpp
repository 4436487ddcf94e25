#include "ExportSelection.hpp"

#include <set>
#include <string>

namespace SafWorkbook {
namespace {

template <typename Object>
std::vector<Object> KeepNamed(const std::vector<Object>& objects, const std::set<std::string>& names) {
    std::vector<Object> kept;
    for (const Object& object : objects) {
        if (names.count(object.name) != 0) {
            kept.push_back(object);
        }
    }
    return kept;
}

} // namespace

Building::Model SelectExported(const Building::Model& model, const ElementKinds& kinds) {
    Building::Model selected;
    selected.name = model.name;
    selected.description = model.description;
    selected.nationalCode = model.nationalCode;

    std::set<std::string> nodes;
    std::set<std::string> sections;
    std::set<std::string> materials;
    for (const Building::CurveMember& member : model.curveMembers) {
        if (member.type == "Column" ? kinds.columns : kinds.beams) {
            selected.curveMembers.push_back(member);
            sections.insert(member.crossSection);
            nodes.insert(member.nodes.begin(), member.nodes.end());
        }
    }
    for (const Building::SurfaceMember& surface : model.surfaceMembers) {
        if (surface.type == "Wall" ? kinds.walls : kinds.slabs) {
            selected.surfaceMembers.push_back(surface);
            materials.insert(surface.material);
            nodes.insert(surface.nodes.begin(), surface.nodes.end());
        }
    }
    if (kinds.supports) {
        selected.supports = model.supports;
        for (const Building::PointSupport& support : model.supports) {
            nodes.insert(support.node);
        }
    }
    if (kinds.storeys) {
        selected.storeys = model.storeys;
    }
    selected.crossSections = KeepNamed(model.crossSections, sections);
    for (const Building::CrossSection& section : selected.crossSections) {
        materials.insert(section.material);
    }
    selected.materials = KeepNamed(model.materials, materials);
    selected.nodes = KeepNamed(model.nodes, nodes);
    return selected;
}

} // namespace SafWorkbook
