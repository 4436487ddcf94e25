#include "ModelEventReader.hpp"
#include "JsonDocumentReader.hpp"
#include "ModelFault.hpp"
#include "ModelObjectJson.hpp"
#include "ModelObjectRead.hpp"

#include <type_traits>
#include <utility>

namespace Building {
namespace {

// Calls `visit` with the model's list `number` (ListNames' order), the reader of one of its objects
// and its writer.
template <typename Visit>
void VisitList(Model& model, std::size_t number, Visit visit) {
    switch (number) {
    case 0:
        visit(model.materials, ReadMaterial, MaterialJson);
        break;
    case 1:
        visit(model.crossSections, ReadCrossSection, CrossSectionJson);
        break;
    case 2:
        visit(model.nodes, ReadNode, NodeJson);
        break;
    case 3:
        visit(model.curveMembers, ReadCurveMember, CurveMemberJson);
        break;
    case 4:
        visit(model.surfaceMembers, ReadSurfaceMember, SurfaceMemberJson);
        break;
    case 5:
        visit(model.storeys, ReadStorey, StoreyJson);
        break;
    default:
        visit(model.supports, ReadSupport, SupportJson);
        break;
    }
}

} // namespace

ModelEventReader::ModelEventReader(TextCheck textCheck, bool compareWritten)
    : check(std::move(textCheck)), compare(compareWritten) {}

JsonDocument::ListItems ModelEventReader::Lists(std::size_t depth, std::string objectSlot) {
    JsonDocument::ListItems hooks;
    hooks.handOver = [this, depth, slot = std::move(objectSlot)](std::size_t at, const std::string& objectAt,
                                                                 const std::string& key) {
        const int number = at == depth && objectAt == slot ? ListNumber(key) : -1;
        if (number < 0) {
            return false;
        }
        // A list met again (a member written twice) replaces the first, as it does in a document.
        Clear(static_cast<std::size_t>(number));
        return true;
    };
    hooks.take = [this](const std::string& key, std::size_t index, nlohmann::ordered_json&& item) {
        Take(key, index, item);
    };
    return hooks;
}

void ModelEventReader::Clear(std::size_t number) {
    lists[number] = ListState{};
    VisitList(model, number,
              [](auto& objects, auto, auto) { std::decay_t<decltype(objects)>().swap(objects); });
}

// One object of a list as the parser finished it: read into the typed model unless the list was
// already refused, written again to compare it with what was read, and checked.
void ModelEventReader::Take(const std::string& key, std::size_t index, const nlohmann::ordered_json& item) {
    const auto number = static_cast<std::size_t>(ListNumber(key));
    ListState& state = lists[number];
    if (!state.fault.empty()) {
        return;
    }
    VisitList(model, number, [&](auto& objects, auto readOne, auto write) {
        using Object = typename std::decay_t<decltype(objects)>::value_type;
        try {
            objects.push_back(ReadListItem<Object>(ListNames[number], index, item, readOne));
        } catch (const ModelFault& refused) {
            state.fault = refused.what();
            return;
        }
        if (!(compare && state.alike) && !(check && state.finding.empty())) {
            return;
        }
        const nlohmann::ordered_json written = write(objects.back());
        state.alike = state.alike && compare && WrittenAlike(written, item);
        if (check && state.finding.empty()) {
            state.finding =
                check(written, std::string(ListNames[number]) + "[" + std::to_string(index) + "]");
        }
    });
}

ModelEventsResult ModelEventReader::Finish(const nlohmann::ordered_json& rest) {
    ModelEventsResult result;
    try {
        // ReadWholeModel's steps in its order, the lists' objects already read.
        JsonObjectReader top(rest, "model");
        ReadModelTexts(top, model);
        for (std::size_t number = 0; number < lists.size(); ++number) {
            if (FoundList(rest, ListNames[number]) == nullptr) {
                Clear(number); // read inside a model object that a later one of the same name replaced
                continue;
            }
            if (!lists[number].fault.empty()) {
                throw ModelFault(lists[number].fault);
            }
        }
        FinishModel(top, model);
    } catch (const ModelFault& fault) {
        result.read.error = fault.what();
        return result;
    }
    result.writtenAlike = compare && RestWrittenAlike(rest);
    result.textFinding = FirstFinding();
    result.read.model = std::move(model);
    return result;
}

bool ModelEventReader::RestWrittenAlike(const nlohmann::ordered_json& rest) const {
    for (const ListState& list : lists) {
        if (!list.alike) {
            return false;
        }
    }
    return ModelTopWrittenAlike(model, rest);
}

std::string ModelEventReader::FirstFinding() const {
    if (!check) {
        return {};
    }
    for (const auto& [text, path] :
         {std::pair{&model.name, "name"}, std::pair{&model.description, "description"},
          std::pair{&model.nationalCode, "nationalCode"}}) {
        if (std::string found = check(nlohmann::ordered_json(*text), path); !found.empty()) {
            return found;
        }
    }
    for (const ListState& list : lists) {
        if (!list.finding.empty()) {
            return list.finding;
        }
    }
    return {};
}

namespace {

ModelEventsResult ReadThrough(ModelEventReader& reader, const std::string& text,
                              const std::function<void(std::size_t)>& progress) {
    JsonDocument::ReadResult read = JsonDocument::Read(text, reader.Lists(1, ""), progress);
    if (!read.document) {
        ModelEventsResult result;
        result.read.error = "not a JSON document: " + read.error;
        return result;
    }
    return reader.Finish(*read.document);
}

} // namespace

ModelEventsResult ReadModelEvents(const std::string& text, const TextCheck& check,
                                  const std::function<void(std::size_t)>& progress) {
    ModelEventReader reader(check);
    return ReadThrough(reader, text, progress);
}

ModelReadResult ReadModelText(const std::string& text, const std::function<void(std::size_t)>& progress) {
    ModelEventReader reader({}, false);
    return ReadThrough(reader, text, progress).read;
}

} // namespace Building
