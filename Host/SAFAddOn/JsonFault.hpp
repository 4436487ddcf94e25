#pragma once

#include <nlohmann/json.hpp>

#include "UniString.hpp"

#include <cstddef>
#include <optional>
#include <string>

namespace SAF {

// "line L, column C" of byte offset `offset` (counted from 1, as the JSON parser counts it) in
// `text`: the place a person looks for in an editor.
std::string PlaceOfByte(const std::string& text, std::size_t offset);

// "line L, column C: what the parser says" for a document that is not JSON at all.
std::string DescribeParseError(const std::string& text, const nlohmann::json::parse_error& error);

// The document in `text`, or why it is not one (one of the two descriptions below); the parser's
// exceptions stay inside.
struct JsonRead {
    std::optional<nlohmann::ordered_json> document;
    std::string error;
};
JsonRead ReadJson(const std::string& text);

// UTF-8 of a string, all of it: a U+0000 inside does not end it.
std::string Utf8Of(const GS::UniString& text);

// "a number out of range: number overflow parsing '1e400'" for a number that is valid JSON but that
// no double holds. The parser reports these apart from parse errors and names the token, not its
// place.
std::string DescribeOutOfRange(const nlohmann::json::out_of_range& error);

} // namespace SAF
