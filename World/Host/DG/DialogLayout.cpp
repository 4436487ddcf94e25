#include "DialogLayout.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <utility>

namespace DG {

namespace {

class LayoutFailure {
public:
    explicit LayoutFailure(std::string text) : message(std::move(text)) {}
    std::string message;
};

// Reads forward through the resource; every read checks its bounds first.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : bytes(data) {}

    std::size_t Offset() const { return offset; }
    // Where the field read last (or being read) begins: the place a failure names.
    std::size_t FieldOffset() const { return fieldOffset; }
    void MarkField() { fieldOffset = offset; }
    bool AtEnd() const { return offset == bytes.size(); }

    UInt32 ReadUInt32(const char* field) {
        MarkField();
        Need(4, field);
        const std::uint8_t* at = bytes.data() + offset;
        offset += 4;
        return LittleEndian::Read32(at);
    }

    UInt16 ReadWord(const char* field) {
        MarkField();
        Need(2, field);
        const std::uint8_t* at = bytes.data() + offset;
        offset += 2;
        return LittleEndian::Read16(at);
    }

    Int16 ReadSignedWord(const char* field) { return static_cast<Int16>(ReadWord(field)); }

    std::string ReadText(const char* field) {
        MarkField();
        const std::size_t start = offset;
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != 0) {
            ++end;
        }
        if (end == bytes.size()) {
            throw LayoutFailure(std::string(field) +
                                " has no terminating NUL before the end of the resource");
        }
        offset = end + 1;
        return std::string(reinterpret_cast<const char*>(bytes.data() + start), end - start);
    }

private:
    void Need(std::size_t count, const char* field) const {
        if (bytes.size() - offset < count) {
            throw LayoutFailure(std::string(field) + " needs " + std::to_string(count) + " bytes, " +
                                std::to_string(bytes.size() - offset) + " left");
        }
    }

    std::span<const std::uint8_t> bytes;
    std::size_t offset = 0;
    std::size_t fieldOffset = 0;
};

void ReadKindFields(ByteReader& reader, LayoutItem& item) {
    switch (item.kind) {
    case ItemKind::PushButton:
        item.extraWords = {reader.ReadWord("button word 8"), reader.ReadWord("button word 9")};
        item.text = reader.ReadText("button text");
        break;
    case ItemKind::CheckBox:
        item.extraWords = {reader.ReadWord("check box word 8")};
        item.text = reader.ReadText("check box text");
        break;
    case ItemKind::PopUp:
        item.extraWords = {static_cast<UInt16>(item.height), reader.ReadWord("pop-up closed height"),
                           reader.ReadWord("pop-up word 9"), reader.ReadWord("pop-up word 10")};
        item.height = static_cast<Int16>(item.extraWords[1]);
        break;
    case ItemKind::StaticText:
        item.extraWords = {reader.ReadWord("text word 8"), reader.ReadWord("text word 9")};
        item.text = reader.ReadText("static text");
        break;
    case ItemKind::Separator:
        break;
    case ItemKind::Icon:
        item.extraWords = {reader.ReadWord("icon word 8")};
        item.iconNumber = reader.ReadSignedWord("icon number");
        break;
    }
}

LayoutItem ReadItem(ByteReader& reader, Int32 expectedNumber) {
    LayoutItem item;
    const UInt16 number = reader.ReadWord("item number");
    if (number != expectedNumber) {
        throw LayoutFailure("item number " + std::to_string(number) + " where " +
                            std::to_string(expectedNumber) + " belongs");
    }
    item.number = static_cast<Int16>(number);
    const UInt16 code = reader.ReadWord("item type code");
    if (!IsKnownItemKind(code)) {
        throw LayoutFailure("unknown item type code " + std::to_string(code));
    }
    item.kind = static_cast<ItemKind>(code);
    item.style = reader.ReadWord("style");
    item.left = reader.ReadSignedWord("left");
    item.top = reader.ReadSignedWord("top");
    item.width = reader.ReadSignedWord("width");
    item.height = reader.ReadSignedWord("height");
    ReadKindFields(reader, item);
    return item;
}

} // namespace

std::string LayoutError::Describe() const {
    std::string text = "GSDG " + std::to_string(resource);
    if (item > 0) {
        text += ", item " + std::to_string(item);
    }
    return text + ", offset " + std::to_string(offset) + ": " + message;
}

LayoutParse ParseDialogLayout(std::span<const std::uint8_t> bytes, Int32 resource) {
    ByteReader reader(bytes);
    LayoutParse result;
    Int32 currentItem = 0;
    try {
        const UInt32 count = reader.ReadUInt32("byte count");
        if (count != bytes.size() - 4) {
            throw LayoutFailure("byte count " + std::to_string(count) + " but " +
                                std::to_string(bytes.size() - 4) + " bytes follow it");
        }
        DialogLayout layout;
        for (int word = 0; word < 4; ++word) {
            reader.ReadWord("header word");
        }
        layout.width = reader.ReadSignedWord("width");
        layout.height = reader.ReadSignedWord("height");
        if (layout.width <= 0 || layout.height <= 0) {
            throw LayoutFailure("dialog size " + std::to_string(layout.width) + " x " +
                                std::to_string(layout.height) + " is not positive");
        }
        layout.title = reader.ReadText("title");
        const UInt16 itemCount = reader.ReadWord("item count");
        for (Int32 number = 1; number <= itemCount; ++number) {
            currentItem = number;
            layout.items.push_back(ReadItem(reader, number));
        }
        currentItem = 0;
        reader.MarkField();
        if (!reader.AtEnd()) {
            throw LayoutFailure(std::to_string(bytes.size() - reader.Offset()) +
                                " bytes after the last item");
        }
        result.layout = std::move(layout);
    } catch (const LayoutFailure& failure) {
        result.error = LayoutError{resource, currentItem, reader.FieldOffset(), failure.message};
    }
    return result;
}

} // namespace DG
