#include "DialogResourceReading.hpp"

#include <map>

namespace ModuleResources {

namespace {

struct KindShape {
    std::size_t furtherWords;
    bool hasText;
};

// Item type code: the words after the rectangle, and whether a text follows them.
const std::map<std::uint16_t, KindShape> ItemKinds = {
    {1, {2, true}},   // push button
    {2, {1, true}},   // check box
    {5, {3, false}},  // pop-up
    {13, {2, true}},  // left-aligned static text
    {15, {0, false}}, // separator
    {16, {2, false}}, // icon: 0, then the icon number
};

LayoutItem ReadItem(ByteReader& reader) {
    LayoutItem item;
    item.offset = reader.Offset();
    item.number = reader.Word();
    item.type = reader.Word();
    item.style = reader.Word();
    item.left = reader.Word();
    item.top = reader.Word();
    item.width = reader.Word();
    item.height = reader.Word();
    const auto kind = ItemKinds.find(item.type);
    if (kind == ItemKinds.end()) {
        throw std::runtime_error("item at offset " + std::to_string(item.offset) + " has type code " +
                                 std::to_string(item.type));
    }
    for (std::size_t i = 0; i < kind->second.furtherWords; ++i) {
        item.further.push_back(reader.Word());
    }
    if (kind->second.hasText) {
        item.text = reader.Text();
    }
    return item;
}

} // namespace

DialogLayout ReadDialogLayout(const std::vector<std::uint8_t>& bytes) {
    ByteReader reader(bytes);
    DialogLayout layout;
    layout.count = reader.DoubleWord();
    for (std::uint16_t& word : layout.headerWords) {
        word = reader.Word();
    }
    layout.width = reader.Word();
    layout.height = reader.Word();
    layout.title = reader.Text();
    layout.itemCount = reader.Word();
    for (std::uint16_t i = 0; i < layout.itemCount; ++i) {
        layout.items.push_back(ReadItem(reader));
    }
    layout.end = reader.Offset();
    return layout;
}

DialogHelp ReadDialogHelp(const std::vector<std::uint8_t>& bytes) {
    ByteReader reader(bytes);
    DialogHelp help;
    help.count = reader.DoubleWord();
    help.name = reader.Text();
    help.recordCount = reader.Word();
    for (std::uint16_t i = 0; i < help.recordCount; ++i) {
        HelpAnchor record;
        record.item = reader.Word();
        record.text = reader.Text();
        record.anchor = reader.Text();
        help.records.push_back(std::move(record));
    }
    help.end = reader.Offset();
    return help;
}

} // namespace ModuleResources
