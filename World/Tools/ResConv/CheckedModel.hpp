#pragma once

#include "IconImage.hpp"
#include "ResFormat/ResName.hpp"
#include "ResourceKinds.hpp"
#include "SourcePosition.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the checker hands the writer: resources whose every field has its kind's type and fits its
// width, and whose references to other resources hold, so that writing cannot fail on content.
namespace ResConv {

struct CheckedField {
    const FieldShape* shape = nullptr;
    // Numbers; a Text8 field's bytes; a file field's content.
    std::int64_t number = 0;
    std::string text;
    // An image file's picture.
    std::optional<IconImage> image;
};

struct CheckedRecord {
    SourcePosition position;
    const RecordShape* shape = nullptr;
    bool isHeader = false;
    // One per field of the shape, fixed and counted ones included, in the shape's order.
    std::vector<CheckedField> fields;

    const CheckedField& Field(std::string_view name) const;
};

struct CheckedResource {
    SourcePosition position;
    const ResourceKind* kind = nullptr;
    ResFormat::ResName name;
    std::uint16_t language = 0;
    // How messages name it: "dialog 7001", "icon group \"I10001&96\"".
    std::string displayName;
    std::vector<CheckedRecord> records;

    std::size_t ItemCount() const;
};

} // namespace ResConv
