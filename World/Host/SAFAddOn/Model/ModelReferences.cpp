#include "ModelReferences.hpp"

#include "ModelFault.hpp"

#include <set>
#include <string>
#include <vector>

namespace Building {
namespace {

template <typename Object>
std::set<std::string> UniqueNames(const std::vector<Object>& objects, const std::string& list) {
    std::set<std::string> names;
    for (std::size_t index = 0; index < objects.size(); ++index) {
        if (!names.insert(objects[index].name).second) {
            throw ModelFault(ObjectPlace(list, index, objects[index].name) + ": duplicate name");
        }
    }
    return names;
}

void RequireKnown(const std::set<std::string>& known, const std::string& reference, const std::string& what,
                  const std::string& place) {
    if (known.count(reference) == 0) {
        throw ModelFault(place + ": unknown " + what + " \"" + reference + "\"");
    }
}

} // namespace

std::string ObjectPlace(const std::string& list, std::size_t index, const std::string& name) {
    std::string place = list + "[" + std::to_string(index) + "]";
    return name.empty() ? place : place + " \"" + name + "\"";
}

void CheckNamesAndReferences(const Model& model) {
    const auto materials = UniqueNames(model.materials, "materials");
    const auto sections = UniqueNames(model.crossSections, "crossSections");
    const auto nodes = UniqueNames(model.nodes, "nodes");
    UniqueNames(model.curveMembers, "curveMembers");
    UniqueNames(model.surfaceMembers, "surfaceMembers");
    UniqueNames(model.storeys, "storeys");
    UniqueNames(model.supports, "supports");

    for (std::size_t index = 0; index < model.crossSections.size(); ++index) {
        const CrossSection& section = model.crossSections[index];
        RequireKnown(materials, section.material, "material",
                     ObjectPlace("crossSections", index, section.name));
    }
    for (std::size_t index = 0; index < model.curveMembers.size(); ++index) {
        const CurveMember& member = model.curveMembers[index];
        const std::string place = ObjectPlace("curveMembers", index, member.name);
        RequireKnown(sections, member.crossSection, "cross-section", place);
        for (const std::string& node : member.nodes) {
            RequireKnown(nodes, node, "node", place);
        }
    }
    for (std::size_t index = 0; index < model.surfaceMembers.size(); ++index) {
        const SurfaceMember& surface = model.surfaceMembers[index];
        const std::string place = ObjectPlace("surfaceMembers", index, surface.name);
        RequireKnown(materials, surface.material, "material", place);
        for (const std::string& node : surface.nodes) {
            RequireKnown(nodes, node, "node", place);
        }
    }
    for (std::size_t index = 0; index < model.supports.size(); ++index) {
        const PointSupport& support = model.supports[index];
        RequireKnown(nodes, support.node, "node", ObjectPlace("supports", index, support.name));
    }
}

} // namespace Building
