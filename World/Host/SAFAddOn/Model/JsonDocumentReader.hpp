#pragma once

#include "Result/Result.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The one way the host reads a JSON document from outside (projects, models, the translator
// store): nlohmann's parser drives a builder of our own, so that
//  - arrays and objects nested deeper than a limit are refused while reading, before a document
//    that deep exists (copying or destroying one recurses once per level, and 20 000 levels
//    overflow the stack);
//  - a number no double holds is named with its member ("member nodes[3].x: number overflow
//    parsing '1e400'"), where the parser alone names only the token.
namespace JsonDocument {

// Far deeper than any document the host writes (a project nests six levels), far shallower than a
// thread's stack allows.
constexpr std::size_t MaxDepth = 512;

// Hears how many bytes of the text the parser has read, every so often, for a progress line.
using ReadProgress = std::function<void(std::size_t bytesRead)>;

// The document in `text`, or why it is not one ("line L, column C: ...", "member a.b[2]: ...", or the
// nesting refused). No exception of the parser leaves it.
Result<nlohmann::ordered_json> Read(const std::string& text, std::size_t depthLimit = MaxDepth,
                                    const ReadProgress& progress = {});

} // namespace JsonDocument
