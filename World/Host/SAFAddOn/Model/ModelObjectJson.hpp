#pragma once

#include "BuildingModel.hpp"

#include <nlohmann/json.hpp>

// Each kind of model object as ModelToJson writes it, for the readers that compare what they read
// with what would be written back, one object at a time.
namespace Building {

nlohmann::ordered_json MaterialJson(const Material& material);
nlohmann::ordered_json CrossSectionJson(const CrossSection& section);
nlohmann::ordered_json NodeJson(const Node& node);
nlohmann::ordered_json CurveMemberJson(const CurveMember& member);
nlohmann::ordered_json SurfaceMemberJson(const SurfaceMember& surface);
nlohmann::ordered_json StoreyJson(const Storey& storey);
nlohmann::ordered_json SupportJson(const PointSupport& support);

// Whether the two are written as the same text: the same members in the same order, and numbers of
// the same kind (nlohmann's == takes 2 and 2.0 as equal; the text does not).
bool WrittenAlike(const nlohmann::ordered_json& left, const nlohmann::ordered_json& right);

// Whether `document` has ModelToJson's members in its order and the model's name, description and
// national code written alike; the lists' objects are left to the caller to compare.
bool ModelTopWrittenAlike(const Model& model, const nlohmann::ordered_json& document);

} // namespace Building
