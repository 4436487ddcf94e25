#pragma once

#include "ResFormat/ResName.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What each kind of resource may hold. The checker holds every source against its kind's entry; the
// writer lays out a checked resource by its kind's layout. A new kind (dialog layouts, help records,
// the module identifier, icons, the manifest) is a new entry here, plus a layout when none fits.
namespace ResConv {

enum class FieldType {
    // 8-bit text stored with one closing NUL; any byte but NUL.
    Text8,
    UInt16,
};

struct FieldShape {
    std::string_view name;
    FieldType type;
};

// One kind of content line: its keyword and the fields its values fill, in order.
struct RecordShape {
    std::string_view keyword;
    std::vector<FieldShape> fields;
};

enum class PayloadLayout {
    // The host's own types: a 32-bit little-endian count of the bytes that follow, then every field
    // of every record in order, numbers little-endian, texts with their NUL, nothing aligned.
    HostFramed,
};

struct ResourceKind {
    // As written after "resource" in a source, compared ignoring case.
    std::string_view word;
    ResFormat::ResName type;
    std::uint16_t memoryFlags;
    std::int64_t firstNumber;
    std::int64_t lastNumber;
    // Why numbers outside [firstNumber, lastNumber] cannot be used.
    std::string_view numberRangeReason;
    std::vector<RecordShape> records;
    std::size_t minimumRecords;
    PayloadLayout layout;
};

// Null for a word that names no kind.
const ResourceKind* FindResourceKind(std::string_view word);
// "STRS" or "GSDG, STRS": for messages.
std::string ListResourceKinds();

} // namespace ResConv
