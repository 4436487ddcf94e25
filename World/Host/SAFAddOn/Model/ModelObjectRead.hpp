#pragma once

#include "BuildingModel.hpp"
#include "JsonObjectReader.hpp"
#include "ModelFault.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

// Each kind of model object read from its JSON object, for the readers of the whole model (from a
// tree, or object by object from the parser's events). Each throws ModelFault naming the object.
namespace Building {

Material ReadMaterial(JsonObjectReader& reader);
CrossSection ReadCrossSection(JsonObjectReader& reader);
Node ReadNode(JsonObjectReader& reader);
CurveMember ReadCurveMember(JsonObjectReader& reader);
SurfaceMember ReadSurfaceMember(JsonObjectReader& reader);
Storey ReadStorey(JsonObjectReader& reader);
PointSupport ReadSupport(JsonObjectReader& reader);

// The lists in the order the model is read and written.
inline constexpr const char* ListNames[7] = {"materials",      "crossSections", "nodes",   "curveMembers",
                                             "surfaceMembers", "storeys",       "supports"};

inline int ListNumber(const std::string& key) {
    for (int number = 0; number < 7; ++number) {
        if (key == ListNames[number]) {
            return number;
        }
    }
    return -1;
}

// The model's list `list` in `document`: null when it has none; ModelFault when it is no list.
const nlohmann::ordered_json* FoundList(const nlohmann::ordered_json& document, const char* list);
// The model's name, description and national code, the first of a whole model's reading steps.
void ReadModelTexts(JsonObjectReader& top, Model& model);
// The last steps, once the lists are read: no member but the model's own, names and references sound.
void FinishModel(JsonObjectReader& top, const Model& model);

template <typename Object, typename ReadOne>
Object ReadListItem(const char* list, std::size_t index, const nlohmann::ordered_json& item,
                    ReadOne readOne) {
    std::string name;
    if (item.is_object() && item.contains("name") && item["name"].is_string()) {
        name = item["name"].get<std::string>();
    }
    JsonObjectReader reader(item, ObjectPlace(list, index, name));
    Object object = readOne(reader);
    reader.Finish();
    return object;
}

} // namespace Building
