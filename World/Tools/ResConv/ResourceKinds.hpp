#pragma once

#include "ResFormat/ResName.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What each kind of resource may hold. The checker holds every source against its kind's entry; the
// writer lays out a checked resource by its kind's layout. A new kind is a new entry in one of the
// kind tables (HostResourceKinds.cpp, WindowsResourceKinds.cpp), plus a layout when none fits.
namespace ResConv {

enum class FieldType {
    // 8-bit text stored with one closing NUL; any byte but NUL.
    Text8,
    UInt8,
    UInt16,
    UInt32,
    // A path, relative to the source, of a file whose content the resource carries.
    PngImageFile,
    // An RGBA image as a PAM file ("P7", TUPLTYPE RGB_ALPHA), stored as a 32-bit icon bitmap.
    BitmapImageFile,
    Utf8File,
};

enum class FieldOrigin {
    // A value of the source line.
    Source,
    // Always the shape's fixed value; the source does not write it.
    Fixed,
    // The number of item lines of the resource, counted by the writer.
    ItemCount,
};

struct FieldShape {
    std::string_view name;
    FieldType type;
    FieldOrigin origin = FieldOrigin::Source;
    // For FieldOrigin::Fixed: the number, or the text of a Text8 field.
    std::int64_t fixedNumber = 0;
    std::string_view fixedText = {};
};

// One kind of content line: its keyword, how messages call it, and the fields it lays out, in order.
struct RecordShape {
    std::string_view keyword;
    std::string_view displayName;
    std::vector<FieldShape> fields;
};

enum class PayloadLayout {
    // The host's own types: a 32-bit little-endian count of the bytes that follow, then every field
    // of every line in order, numbers little-endian, texts with their NUL, nothing aligned.
    HostFramed,
    // A Windows icon image: the PNG file as it is, or a 32-bit bitmap with its mask.
    IconImage,
    // A Windows icon group: the directory of the icons it names, their sizes taken from them.
    IconDirectory,
    // The named file's bytes, unchanged.
    FileContent,
};

struct ResourceKind {
    // As written after "resource" in a source, compared ignoring case.
    std::string_view word;
    // How messages name a resource of this kind: "dialog" in "dialog 7001, item 4 (pop-up), ...".
    std::string_view displayName;
    ResFormat::ResName type;
    std::uint16_t memoryFlags;
    std::int64_t firstNumber;
    std::int64_t lastNumber;
    // Why numbers outside [firstNumber, lastNumber] cannot be used.
    std::string_view numberRangeReason;
    // Whether a resource of this kind may be named by a quoted text instead of a number.
    bool takesNames;
    // The line that must come first, exactly once, when the kind has one ("dialog", "help").
    std::optional<RecordShape> header;
    // The shapes of the item lines that follow it.
    std::vector<RecordShape> items;
    std::size_t minimumItems;
    std::size_t maximumItems;
    PayloadLayout layout;
};

// Null for a word that names no kind.
const ResourceKind* FindResourceKind(std::string_view word);
// "DLGH, GSDG, ...": for messages.
std::string ListResourceKinds();

// The kind tables, in the order messages list them.
const std::vector<ResourceKind>& HostResourceKinds();
const std::vector<ResourceKind>& WindowsResourceKinds();

} // namespace ResConv
