#pragma once

#include "SourcePosition.hpp"

#include <cstdint>
#include <string>
#include <vector>

// What the reader makes of a resource source, before anything is known about resource kinds.
//
// A source holds one resource. Its first line names it; every further line is one record of the
// kind's content, a keyword followed by values:
//
//   # comment to the end of the line
//   resource STRS 32300 language 1033
//   text "OK"
//   text "No supported VELD Engineer version available."
//
// Values are numbers (decimal or 0x hex, optionally negative), quoted texts (any byte but NUL;
// escapes \" \\ \n \r \t \xHH) or words (letters, digits, underscores). A named resource gives its
// name as a quoted text in place of the number.
namespace ResConv {

enum class ValueKind { Number, Text, Word };

struct SourceValue {
    ValueKind kind = ValueKind::Word;
    std::int64_t number = 0;
    // The bytes of a text, or the letters of a word.
    std::string text;
};

struct SourceStatement {
    SourcePosition position;
    std::string keyword;
    std::vector<SourceValue> values;
};

struct ResourceSource {
    SourcePosition position;
    std::string kind;
    // A number, or a text for a named resource.
    SourceValue id;
    std::int64_t language = 0;
    std::vector<SourceStatement> statements;
};

// A source file's name, as diagnostics show it, and its bytes.
struct SourceText {
    std::string name;
    std::string bytes;
};

} // namespace ResConv
