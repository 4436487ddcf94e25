#include "TranslatorFile.hpp"

#include "JsonDocumentReader.hpp"
#include "JsonFault.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace SAF {

namespace {

using Json = nlohmann::ordered_json;

constexpr int FileVersion = 1;

GS::UniString FromUtf8(const std::string& text) {
    return GS::UniString::FromUTF8(text.data(), static_cast<UIndex>(text.size()));
}

// Empty when the member is usable; otherwise what is wrong with it.
std::string ReadTranslator(const Json& entry, Translator& translator) {
    if (!entry.is_object()) {
        return ": not an object";
    }
    const auto name = entry.find("name");
    if (name == entry.end() || !name->is_string()) {
        return ".name: missing or not text";
    }
    translator.name = FromUtf8(name->get<std::string>());
    const auto kinds = entry.find("elementKinds");
    if (kinds == entry.end() || !kinds->is_array()) {
        return ".elementKinds: missing or not a list";
    }
    for (std::size_t index = 0; index < kinds->size(); ++index) {
        const Json& kind = (*kinds)[index];
        const auto& known = KnownElementKinds();
        if (!kind.is_string() ||
            std::find(known.begin(), known.end(), kind.get<std::string>()) == known.end()) {
            return ".elementKinds[" + std::to_string(index) + "]: not an element kind (" + kind.dump() + ")";
        }
        translator.elementKinds.push_back(kind.get<std::string>());
    }
    const auto units = entry.find("unitSystem");
    if (units == entry.end() || !units->is_string() || !IsKnownUnitSystem(units->get<std::string>())) {
        return ".unitSystem: missing, or neither \"SI\" nor \"Imperial\"";
    }
    translator.unitSystem = units->get<std::string>();
    return {};
}

} // namespace

const std::vector<std::string>& KnownElementKinds() {
    static const std::vector<std::string> kinds{"beam",   "column",  "slab", "wall",
                                                "member", "support", "load"};
    return kinds;
}

bool IsKnownUnitSystem(const std::string& unitSystem) {
    return unitSystem == "SI" || unitSystem == "Imperial";
}

std::vector<Translator> DefaultTranslators() {
    return {
        {GS::UniString("Structural Analysis (SI)"), KnownElementKinds(), "SI"},
        {GS::UniString("Structural Analysis (Imperial)"), KnownElementKinds(), "Imperial"},
        {GS::UniString("Load-Bearing Elements Only"), {"beam", "column", "slab", "wall", "support"}, "SI"},
    };
}

Result<std::vector<Translator>> ParseTranslatorFile(const std::string& text) {
    const Result<Json> read = JsonDocument::Read(text);
    if (!read) {
        return Failure{read.Error()};
    }
    const Json& document = read.Value();
    if (!document.is_object()) {
        return Failure{"the document is not a JSON object"};
    }
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer() || *version != FileVersion) {
        return Failure{"member version: missing, or not 1"};
    }
    const auto list = document.find("translators");
    if (list == document.end() || !list->is_array()) {
        return Failure{"member translators: missing or not a list"};
    }
    std::vector<Translator> translators;
    translators.reserve(list->size());
    for (std::size_t index = 0; index < list->size(); ++index) {
        Translator translator;
        if (std::string fault = ReadTranslator((*list)[index], translator); !fault.empty()) {
            return Failure{"member translators[" + std::to_string(index) + "]" + fault};
        }
        translators.push_back(std::move(translator));
    }
    return translators;
}

std::string FormatTranslatorFile(const std::vector<Translator>& translators) {
    Json list = Json::array();
    for (const Translator& translator : translators) {
        list.push_back({{"name", Utf8Of(translator.name)},
                        {"elementKinds", translator.elementKinds},
                        {"unitSystem", translator.unitSystem}});
    }
    Json document;
    document["version"] = FileVersion;
    document["translators"] = std::move(list);
    return document.dump(2) + "\n";
}

} // namespace SAF
