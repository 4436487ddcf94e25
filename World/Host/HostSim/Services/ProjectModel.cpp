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
    Building::ModelReadResult read = Building::ReadModel(model);
    typed = std::move(read.model);
    readError = std::move(read.error);
    if (!typed || !Building::ModelToJsonGives(*typed, model)) {
        keptText = model.dump();
    }
}

ProjectModel::ProjectModel(Building::Model model)
    : typed(std::move(model)), textXmlCannotCarry(FindTextXmlCannotCarry(Building::ModelToJson(*typed))) {}

ProjectModel::ProjectModel(Building::ModelEventsResult handedOver)
    : typed(std::move(handedOver.read.model)), textXmlCannotCarry(std::move(handedOver.textFinding)) {
    if (!typed) {
        throw std::logic_error("a model handed over was refused: " + handedOver.read.error);
    }
}

ProjectModel::ProjectModel(Building::ModelEventsResult read, const std::function<Json()>& modelTree) {
    typed = std::move(read.read.model);
    readError = std::move(read.read.error);
    if (typed && read.writtenAlike) {
        textXmlCannotCarry = std::move(read.textFinding);
        return;
    }
    // The model and its refusal are the events' already; the text to keep, and the first text XML
    // cannot carry in it, are the document's own.
    const Json tree = modelTree();
    textXmlCannotCarry = FindTextXmlCannotCarry(tree);
    keptText = tree.dump();
}

Building::TextCheck ProjectModel::XmlTextCheck() {
    return [](const Json& written, const std::string& path) { return FindTextXmlCannotCarry(written, path); };
}

Json ProjectModel::ToJson() const {
    if (!keptText) {
        return Building::ModelToJson(*typed);
    }
    // The text is a document's own dump, so it reads back; were it ever refused, {} would lose the
    // model, so the refusal ends the save instead.
    JsonDocument::ReadResult read = JsonDocument::Read(*keptText);
    if (!read.document) {
        throw std::runtime_error("the project's model no longer reads: " + read.error);
    }
    return std::move(*read.document);
}

} // namespace HostSim
