#include "Services/ProjectModel.hpp"

#include "JsonDocumentReader.hpp"
#include "ModelJson.hpp"
#include "Services/WorkbookAcceptance.hpp"

#include <stdexcept>
#include <utility>

namespace HostSim {

namespace {

using Json = nlohmann::ordered_json;

// Whether the two give the same text when written: the same members in the same order, and numbers
// of the same kind (nlohmann's == takes 2 and 2.0 as equal, the file would not).
bool WriteAlike(const Json& left, const Json& right) {
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
            if (l.key() != r.key() || !WriteAlike(l.value(), r.value())) {
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
            if (!WriteAlike(left[index], right[index])) {
                return false;
            }
        }
        return true;
    }
    return left == right;
}

} // namespace

ProjectModel::ProjectModel() : ProjectModel(Json::object()) {}

ProjectModel::ProjectModel(const Json& model) : textXmlCannotCarry(FindTextXmlCannotCarry(model)) {
    Building::ModelReadResult read = Building::ReadModel(model);
    typed = std::move(read.model);
    readError = std::move(read.error);
    if (!typed || !WriteAlike(Building::ModelToJson(*typed), model)) {
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
    JsonDocument::ReadResult read = JsonDocument::Read(*keptText);
    if (!read.document) {
        throw std::runtime_error("the project's model no longer reads: " + read.error);
    }
    return std::move(*read.document);
}

} // namespace HostSim
