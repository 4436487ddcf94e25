#pragma once

#include <nlohmann/json.hpp>

#include "UniString.hpp"

#include <cstddef>
#include <optional>
#include <string>

namespace SAF {

// The document in `text`, or why it is not one: where it stops being JSON, which member holds a
// number out of range, or that it nests deeper than JsonDocument::MaxDepth. The parser's
// exceptions stay inside.
struct JsonRead {
    std::optional<nlohmann::ordered_json> document;
    std::string error;
};
JsonRead ReadJson(const std::string& text);

// UTF-8 of a string, all of it: a U+0000 inside does not end it.
std::string Utf8Of(const GS::UniString& text);

} // namespace SAF
