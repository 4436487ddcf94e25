#pragma once

#include "Result/Result.hpp"
#include "UniString.hpp"

#include <optional>
#include <string>
#include <vector>

namespace SAF {

// A SAF translator: a named export configuration. The workbook writer reads the options.
struct Translator {
    GS::UniString name;
    std::vector<std::string> elementKinds; // which element kinds go into the workbook
    std::string unitSystem;                // "SI" or "Imperial"
};

// The translator store file, DIR/SAF/Translators.json:
//   {"version": 1, "translators": [{"name": "...", "elementKinds": ["beam", ...], "unitSystem": "SI"}]}
// Names are any text, empty and repeated ones included; the user knows a translator by its name.
// The translators, or why the text holds none ("line L, column C: ..." or
// "member translators[2].name: ...").
Result<std::vector<Translator>> ParseTranslatorFile(const std::string& text);
std::string FormatTranslatorFile(const std::vector<Translator>& translators);

// What a first run of the SAF add-on offers.
std::vector<Translator> DefaultTranslators();

// The element kinds and unit systems a translator may name.
const std::vector<std::string>& KnownElementKinds();
bool IsKnownUnitSystem(const std::string& unitSystem);

} // namespace SAF
