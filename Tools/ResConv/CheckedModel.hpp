#pragma once

#include "ResFormat/ResName.hpp"
#include "ResourceKinds.hpp"
#include "SourcePosition.hpp"

#include <cstdint>
#include <string>
#include <vector>

// What the checker hands the writer: resources whose every field has its kind's type and fits its
// width, so that writing cannot fail on content.
namespace ResConv {

struct CheckedField {
    FieldType type = FieldType::Text8;
    std::int64_t number = 0;
    std::string text;
};

struct CheckedRecord {
    std::vector<CheckedField> fields;
};

struct CheckedResource {
    SourcePosition position;
    const ResourceKind* kind = nullptr;
    ResFormat::ResName name;
    std::uint16_t language = 0;
    std::vector<CheckedRecord> records;
};

} // namespace ResConv
