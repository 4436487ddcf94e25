#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace SAF {

// "line L, column C" of byte offset `offset` (counted from 1, as the JSON parser counts it) in
// `text`: the place a person looks for in an editor.
std::string PlaceOfByte(const std::string& text, std::size_t offset);

// "line L, column C: what the parser says" for a document that is not JSON at all.
std::string DescribeParseError(const std::string& text, const nlohmann::json::parse_error& error);

} // namespace SAF
