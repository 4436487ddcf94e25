#pragma once

#include "BuildingModel.hpp"
#include "JsonDocumentReader.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// The building model as JSON: the "model" member of a project document, and the demo building file.
//
// {
//   "name": "Demo building",                       optional, text
//   "description": "...",                          optional, text
//   "nationalCode": "EC-Standard-EN",              optional, text
//   "materials": [ { "name": "S235", "type": "Steel", "quality": "S235", "unitMass": 7850,
//                    "eModulus": 210000, "gModulus": 80769, "poisson": 0.3,
//                    "thermalExpansion": 1.2e-5 } ],
//   "crossSections": [ { "name": "HEA200", "material": "S235", "kind": "Manufactured",
//                        "profile": "HEA200", "formCode": 1 },
//                      { "name": "R300x500", "material": "C30/37", "kind": "Parametric",
//                        "shape": "Rectangle", "parameters": [500, 300] } ],
//   "nodes": [ { "name": "N1", "x": 0, "y": 0, "z": 0 } ],
//   "curveMembers": [ { "name": "C1", "type": "Column", "crossSection": "HEA200",
//                       "nodes": ["N1", "N13"], "lcs": "Y by vector", "lcsVector": [0, 1, 0],
//                       "lcsRotation": 0, "systemLine": "Centre", "behaviour": "Standard",
//                       "layer": "Columns" } ],
//   "surfaceMembers": [ { "name": "S1", "type": "Plate", "material": "C30/37", "thickness": 200,
//                         "systemPlane": "Centre", "nodes": ["N13", "N16", "N24", "N21"],
//                         "behaviour": "Isotropic", "layer": "Slabs" } ],
//   "storeys": [ { "name": "Ground floor", "heightLevel": 0 } ],
//   "supports": [ { "name": "Sn1", "type": "Fixed", "node": "N1" },
//                 { "name": "Sn2", "type": "Custom", "node": "N2", "rigid": ["ux", "uy", "uz"] } ]
// }
//
// Units: m for coordinates and levels, mm for thicknesses and section parameters, MPa for moduli,
// kg/m3 for unit mass, degrees for rotations, 1/K for thermal expansion. Every object may carry an
// "id" text (a GUID string). Every list may be absent (empty). In the object lists "name" is required
// and unique within its list; the members shown after "name" above are required where the example
// has them, except lcs, lcsVector, lcsRotation, systemLine, behaviour, layer, systemPlane, "rigid"
// (defaults: Z by vector (0,0,1), 0, Centre, Standard / Isotropic, no layer, Centre, the type's own
// restraints: Fixed all six, Hinged ux uy uz, Sliding uz). Members not listed here are refused, so a
// misspelt member is not silently lost.
namespace Building {

struct ModelReadResult {
    std::optional<Model> model;
    // Where and why the input was refused, e.g. `curveMembers[3] "B4": unknown node "N99"`.
    std::string error;
};

ModelReadResult ReadModel(const nlohmann::ordered_json& document);

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

// A document that holds only a model (the demo building, generated models). Errors say where the
// text stops being JSON, which member holds a number out of range, or how deep it nests.
// `progress` hears the bytes read so far.
ModelReadResult ReadModelText(const std::string& text, const std::function<void(std::size_t)>& progress = {});

// The same from a file; anything but a regular file (a folder, a pipe) is refused before it is
// opened. Errors start with the file's name.
ModelReadResult ReadModelFile(const std::filesystem::path& file);

nlohmann::ordered_json ModelToJson(const Model& model);

// Whether ModelToJson(model) is written as the very text `document` is (the same members in the same
// order, 2 where there was 2 and 2.0 where there was 2.0), found one object at a time: a big model
// is not made as a tree a second time just to tell.
bool ModelToJsonGives(const Model& model, const nlohmann::ordered_json& document);

} // namespace Building
