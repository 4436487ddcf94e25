#pragma once

#include "BuildingModel.hpp"
#include "JsonDocumentReader.hpp"
#include "ModelJson.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace Building {

// What a check of texts finds in one value as ModelToJson writes it, at `path` ("nodes[3]"); empty
// when it finds nothing.
using TextCheck = std::function<std::string(const nlohmann::ordered_json& written, const std::string& path)>;

struct ModelEventsResult {
    ModelReadResult read;
    // Whether ModelToJson(*read.model) is written as the very text that was read (ModelToJsonGives).
    bool writtenAlike = false;
    // The first finding of the check over ModelToJson(*read.model), in its order.
    std::string textFinding;
};

// Reads the model from the JSON parser's events, so that a big model is never held as a general
// JSON tree: each object of a list is read into the typed model, compared with what would be written
// back and checked as the parser finishes it, and let go. Everything else of the model (a few texts,
// or whatever the reader will refuse) is left in the document, and Finish reads the model from that
// rest and the objects taken: the model and the refusals are ReadModel's, word for word.
class ModelEventReader {
public:
    // `compareWritten`: find writtenAlike (it costs writing each object again).
    explicit ModelEventReader(TextCheck check = {}, bool compareWritten = true);
    ModelEventReader(const ModelEventReader&) = delete;
    ModelEventReader& operator=(const ModelEventReader&) = delete;

    // The parser's hooks for a model that is the object `depth` containers below the top whose own
    // slot is `objectSlot`: 1 and "" for a model document, 2 and ".model" for a project's model.
    JsonDocument::ListItems Lists(std::size_t depth, std::string objectSlot);
    // The model, from what the parser left of its object. Call once.
    ModelEventsResult Finish(const nlohmann::ordered_json& rest);

private:
    struct ListState {
        std::string fault; // the first object the reader refused, in its words
        bool alike = true;
        std::string finding;
    };
    void Clear(std::size_t list);
    void Take(const std::string& key, std::size_t index, const nlohmann::ordered_json& item);
    bool RestWrittenAlike(const nlohmann::ordered_json& rest) const;
    std::string FirstFinding() const;

    TextCheck check;
    bool compare;
    Model model;
    std::array<ListState, 7> lists;
};

// ReadModelText's reading with the parser's events, telling also whether the model would be written
// back as it was read and what `check` finds.
ModelEventsResult ReadModelEvents(const std::string& text, const TextCheck& check,
                                  const std::function<void(std::size_t)>& progress = {});

} // namespace Building
