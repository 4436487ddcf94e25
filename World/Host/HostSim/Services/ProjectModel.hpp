#pragma once

#include "BuildingModel.hpp"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace HostSim {

// The building model an open project holds, read once when it comes in (the project opened, the
// model handed over) and kept typed, so that the host's 'SAVE' writes the workbook straight from
// it. A big model held as a general JSON tree costs about ten times its text, and reading it again
// at every save held the save to half the workbook writer's speed.
//
// The project is saved whole, so what came in is written back as it came: when the typed model
// gives back exactly the JSON it was read from (a model this host or GenerateBuilding wrote), the
// JSON is made again from it on save; otherwise (a model the reader refuses, defaults left out,
// members in another order, 2 for 2.0) its text is kept beside it. What 'SAVE' refuses, and the
// words it refuses with, are found here once, as the save used to find them on the tree.
class ProjectModel {
public:
    // A project without a model: {}.
    ProjectModel();
    explicit ProjectModel(const nlohmann::ordered_json& model);
    // A model handed over already read (hostsim's --model).
    explicit ProjectModel(Building::Model model);

    // The model, or nothing when the reader refused it (ReadError says why).
    const std::optional<Building::Model>& Typed() const { return typed; }
    const std::string& ReadError() const { return readError; }
    // The first text XML 1.0 cannot carry, with its member; empty when every text can be written.
    const std::string& TextXmlCannotCarry() const { return textXmlCannotCarry; }
    // True when the model's text is kept beside the typed model (see above).
    bool KeepsText() const { return keptText.has_value(); }

    // The model as the project's file holds it.
    nlohmann::ordered_json ToJson() const;

private:
    std::optional<Building::Model> typed;
    std::string readError;
    std::string textXmlCannotCarry;
    std::optional<std::string> keptText; // compact JSON
};

} // namespace HostSim
