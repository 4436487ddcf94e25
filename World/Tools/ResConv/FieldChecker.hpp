#pragma once

#include "CheckedModel.hpp"
#include "FileLoading.hpp"
#include "SourceModel.hpp"

#include <optional>
#include <string>
#include <variant>

namespace ResConv {

// Where a source's file fields are looked up.
struct FileContext {
    const FileLoader& loadFile;
    const std::string& sourceName;
};

// The value of one source field against its shape: its type, its width, and for a file field the
// file's content. The problem is told without the field's place, which the caller knows.
std::variant<CheckedField, std::string> CheckSourceField(const FieldShape& shape, const SourceValue& value,
                                                         const FileContext& files);

// A field that the source does not write: a fixed value, or a count that the writer fills in.
CheckedField UnwrittenField(const FieldShape& shape);

// "70000 does not fit in 16 bits" for a number too wide for a numeric field type.
std::optional<std::string> WidthProblem(std::int64_t value, FieldType type);

} // namespace ResConv
