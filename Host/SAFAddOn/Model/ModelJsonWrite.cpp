#include "ModelJson.hpp"

namespace Building {
namespace {

using Json = nlohmann::ordered_json;

void PutId(Json& object, const std::string& id) {
    if (!id.empty()) {
        object["id"] = id;
    }
}

void PutLayer(Json& object, const std::string& layer) {
    if (!layer.empty()) {
        object["layer"] = layer;
    }
}

Json MaterialJson(const Material& material) {
    Json object{{"name", material.name},         {"type", material.type},
                {"quality", material.quality},   {"unitMass", material.unitMass},
                {"eModulus", material.eModulus}, {"gModulus", material.gModulus},
                {"poisson", material.poisson},   {"thermalExpansion", material.thermalExpansion}};
    PutId(object, material.id);
    return object;
}

Json CrossSectionJson(const CrossSection& section) {
    Json object{{"name", section.name}, {"material", section.material}, {"kind", section.kind}};
    if (section.kind == "Parametric") {
        object["shape"] = section.shape;
        object["parameters"] = section.parameters;
    } else {
        object["profile"] = section.profile;
        object["formCode"] = section.formCode;
    }
    PutId(object, section.id);
    return object;
}

Json NodeJson(const Node& node) {
    Json object{{"name", node.name}, {"x", node.x}, {"y", node.y}, {"z", node.z}};
    PutId(object, node.id);
    return object;
}

Json CurveMemberJson(const CurveMember& member) {
    Json object{{"name", member.name},
                {"type", member.type},
                {"crossSection", member.crossSection},
                {"nodes", member.nodes},
                {"lcs", member.lcs},
                {"lcsVector", member.lcsVector},
                {"lcsRotation", member.lcsRotation},
                {"systemLine", member.systemLine},
                {"behaviour", member.behaviour}};
    PutLayer(object, member.layer);
    PutId(object, member.id);
    return object;
}

Json SurfaceMemberJson(const SurfaceMember& surface) {
    Json object{{"name", surface.name},
                {"type", surface.type},
                {"material", surface.material},
                {"thickness", surface.thickness},
                {"systemPlane", surface.systemPlane},
                {"nodes", surface.nodes},
                {"behaviour", surface.behaviour}};
    PutLayer(object, surface.layer);
    PutId(object, surface.id);
    return object;
}

Json StoreyJson(const Storey& storey) {
    Json object{{"name", storey.name}, {"heightLevel", storey.heightLevel}};
    PutId(object, storey.id);
    return object;
}

Json SupportJson(const PointSupport& support) {
    constexpr const char* names[6] = {"ux", "uy", "uz", "fix", "fiy", "fiz"};
    Json object{{"name", support.name}, {"type", support.type}, {"node", support.node}};
    if (support.restraints != RestraintsOf(support.type)) {
        Json rigid = Json::array();
        for (std::size_t index = 0; index < 6; ++index) {
            if (support.restraints[index]) {
                rigid.push_back(names[index]);
            }
        }
        object["rigid"] = rigid;
    }
    PutId(object, support.id);
    return object;
}

template <typename Object, typename ToJson>
Json ListJson(const std::vector<Object>& objects, ToJson toJson) {
    Json list = Json::array();
    for (const Object& object : objects) {
        list.push_back(toJson(object));
    }
    return list;
}

} // namespace

nlohmann::ordered_json ModelToJson(const Model& model) {
    Json document{
        {"name", model.name}, {"description", model.description}, {"nationalCode", model.nationalCode}};
    document["materials"] = ListJson(model.materials, MaterialJson);
    document["crossSections"] = ListJson(model.crossSections, CrossSectionJson);
    document["nodes"] = ListJson(model.nodes, NodeJson);
    document["curveMembers"] = ListJson(model.curveMembers, CurveMemberJson);
    document["surfaceMembers"] = ListJson(model.surfaceMembers, SurfaceMemberJson);
    document["storeys"] = ListJson(model.storeys, StoreyJson);
    document["supports"] = ListJson(model.supports, SupportJson);
    return document;
}

} // namespace Building
