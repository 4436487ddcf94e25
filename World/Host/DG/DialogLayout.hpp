#pragma once

#include "GSTypes.hpp"
#include "ItemKind.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A dialog layout as the "GSDG" resource stores it. Every number is little-endian; texts are 8-bit
// (the host's system encoding) ended by one NUL; nothing is aligned.
//
//   UInt32  byte count of the rest of the resource
//   4 words (not interpreted), width, height
//   title, NUL-terminated
//   word    item count
//   items, in item-number order; each begins with seven words:
//     number (1, 2, ... in order), type code, style, left, top, width, height
//   and goes on by kind:
//     1  push button   2 words, text
//     2  check box     1 word, text
//     5  pop-up        3 words: the seventh word above is the height of the open list, the first of
//                      these the height of the closed pop-up, which is the height it occupies
//     13 static text   2 words, text
//     15 separator     nothing
//     16 icon          2 words, the second the icon number
namespace DG {

struct LayoutItem {
    Int16 number = 0;
    ItemKind kind = ItemKind::Separator;
    UInt16 style = 0;
    Int16 left = 0;
    Int16 top = 0;
    Int16 width = 0;
    // The height the item occupies on the dialog (for a pop-up: its closed height).
    Int16 height = 0;
    std::string text; // bytes as stored, without the NUL
    Int16 iconNumber = 0;
    // The words after the seven common ones, as stored (for a pop-up, the open list's height first).
    std::vector<UInt16> extraWords;
};

struct DialogLayout {
    Int16 width = 0;
    Int16 height = 0;
    std::string title;
    std::vector<LayoutItem> items;
};

// Where a layout stops making sense: the item being read (0 for the header) and the byte offset from
// the start of the resource.
struct LayoutError {
    Int32 resource = 0;
    Int32 item = 0;
    std::size_t offset = 0;
    std::string message;

    // "GSDG 7001, item 4, offset 146: ..." (the item part left out for the header).
    std::string Describe() const;
};

struct LayoutParse {
    std::optional<DialogLayout> layout;
    LayoutError error; // meaningful when there is no layout
};

// Reads any byte sequence without reading outside it: bytes that are not a well-formed layout give an
// error naming its place. `resource` is only for the error.
LayoutParse ParseDialogLayout(std::span<const std::uint8_t> bytes, Int32 resource);

} // namespace DG
