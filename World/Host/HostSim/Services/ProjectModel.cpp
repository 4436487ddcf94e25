#include "Services/ProjectModel.hpp"

#include "JsonDocumentReader.hpp"
#include "ModelJson.hpp"
#include "Services/WorkbookAcceptance.hpp"

#include <stdexcept>
#include <utility>

namespace HostSim {

using Json = nlohmann::ordered_json;

ProjectModel::ProjectModel() : ProjectModel(Json::object()) {}

ProjectModel::ProjectModel(const Json& model) : textXmlCannotCarry(FindTextXmlCannotCarry(model)) {
    Result<Building::Model> read = Building::ReadModel(model);
    if (read) {
        typed = std::move(read).Value();
    } else {
        readError = read.Error();
    }
    if (!typed || !Building::ModelToJsonGives(*typed, model)) {
        keptText = model.dump();
    }
}

ProjectModel::ProjectModel(Building::Model model)
    : typed(std::move(model)), textXmlCannotCarry(FindTextXmlCannotCarry(Building::ModelToJson(*typed))) {}

Json ProjectModel::ToJson() const {
    if (!keptText) {
        return Building::ModelToJson(*typed);
    }
    // The text is a document's own dump, so it reads back; were it ever refused, {} would lose the
    // model, so the refusal ends the save instead.
    Result<Json> read = JsonDocument::Read(*keptText);
    if (!read) {
        throw std::runtime_error("the project's model no longer reads: " + read.Error());
    }
    return std::move(read).Value();
}

} // namespace HostSim
