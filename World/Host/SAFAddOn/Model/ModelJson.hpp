#pragma once

#include "BuildingModel.hpp"
#include "Result/Result.hpp"

#include <nlohmann/json.hpp>

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

// The model, or where and why the input was refused, e.g. `curveMembers[3] "B4": unknown node "N99"`.
Result<Model> ReadModel(const nlohmann::ordered_json& document);

// A document that holds only a model (the demo building, generated models). Errors say where the
// text stops being JSON, which member holds a number out of range, or how deep it nests.
// `progress` hears the bytes read so far.
Result<Model> ReadModelText(const std::string& text, const std::function<void(std::size_t)>& progress = {});

// The same from a file; anything but a regular file (a folder, a pipe) is refused before it is
// opened. Errors start with the file's name.
Result<Model> ReadModelFile(const std::filesystem::path& file);

nlohmann::ordered_json ModelToJson(const Model& model);

// Whether ModelToJson(model) is written as the very text `document` is (the same members in the same
// order, 2 where there was 2 and 2.0 where there was 2.0), found one object at a time: a big model
// is not made as a tree a second time just to tell.
bool ModelToJsonGives(const Model& model, const nlohmann::ordered_json& document);

} // namespace Building
