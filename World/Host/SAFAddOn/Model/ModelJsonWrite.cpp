#include "ModelJson.hpp"

#include <iterator>

namespace Building {
namespace {

using Json = nlohmann::ordered_json;

// Whether the two are written as the same text: the same members in the same order, and numbers of
// the same kind (nlohmann's == takes 2 and 2.0 as equal; the text does not).
bool WrittenAlike(const Json& left, const Json& right);

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

template <typename Object, typename ToJson>
Json ListJson(const std::vector<Object>& objects, ToJson toJson) {
    Json list = Json::array();
    for (const Object& object : objects) {
        list.push_back(toJson(object));
    }
    return list;
}

template <typename Object, typename ToJson>
bool ListWrittenAs(const std::vector<Object>& objects, ToJson toJson, const Json& list) {
    if (!list.is_array() || list.size() != objects.size()) {
        return false;
    }
    for (std::size_t index = 0; index < objects.size(); ++index) {
        if (!WrittenAlike(toJson(objects[index]), list[index])) {
            return false;
        }
    }
    return true;
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

bool WrittenAlike(const Json& left, const Json& right) {
    if (left.is_number_integer() && right.is_number_integer()) {
        return left == right; // signed and unsigned are written alike
    }
    if (left.type() != right.type()) {
        return false;
    }
    if (left.is_object()) {
        if (left.size() != right.size()) {
            return false;
        }
        for (auto l = left.begin(), r = right.begin(); l != left.end(); ++l, ++r) {
            if (l.key() != r.key() || !WrittenAlike(l.value(), r.value())) {
                return false;
            }
        }
        return true;
    }
    if (left.is_array()) {
        if (left.size() != right.size()) {
            return false;
        }
        for (std::size_t index = 0; index < left.size(); ++index) {
            if (!WrittenAlike(left[index], right[index])) {
                return false;
            }
        }
        return true;
    }
    return left == right;
}

// Whether `document` has ModelToJson's members in its order and the model's name, description and
// national code written alike; the lists' objects are compared one at a time by ListWrittenAs.
bool ModelTopWrittenAlike(const Model& model, const Json& document) {
    static constexpr const char* Order[] = {"name",          "description", "nationalCode", "materials",
                                            "crossSections", "nodes",       "curveMembers", "surfaceMembers",
                                            "storeys",       "supports"};
    if (!document.is_object() || document.size() != std::size(Order)) {
        return false;
    }
    std::size_t index = 0;
    for (auto member = document.begin(); member != document.end(); ++member, ++index) {
        if (member.key() != Order[index]) {
            return false;
        }
    }
    return WrittenAlike(Json(model.name), document["name"]) &&
           WrittenAlike(Json(model.description), document["description"]) &&
           WrittenAlike(Json(model.nationalCode), document["nationalCode"]);
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

bool ModelToJsonGives(const Model& model, const nlohmann::ordered_json& document) {
    // The members in ModelToJson's order, each list compared one object at a time.
    return ModelTopWrittenAlike(model, document) &&
           ListWrittenAs(model.materials, MaterialJson, document["materials"]) &&
           ListWrittenAs(model.crossSections, CrossSectionJson, document["crossSections"]) &&
           ListWrittenAs(model.nodes, NodeJson, document["nodes"]) &&
           ListWrittenAs(model.curveMembers, CurveMemberJson, document["curveMembers"]) &&
           ListWrittenAs(model.surfaceMembers, SurfaceMemberJson, document["surfaceMembers"]) &&
           ListWrittenAs(model.storeys, StoreyJson, document["storeys"]) &&
           ListWrittenAs(model.supports, SupportJson, document["supports"]);
}

} // namespace Building
