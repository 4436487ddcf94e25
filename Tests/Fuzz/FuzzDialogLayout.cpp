#include "ByteOrder/LittleEndian.hpp"
#include "DialogLayout.hpp"
#include "FuzzCheck.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The "GSDG" dialog layout reader. An accepted layout is encoded again from its fields (by an encoder
// of our own, written from the layout's byte description) and must parse to the same layout; a
// refusal names a place inside the resource.
namespace {

class LayoutEncoder {
public:
    std::vector<std::uint8_t> Encode(const DG::DialogLayout& layout) {
        body.clear();
        for (int word = 0; word < 4; ++word) {
            Word(0);
        }
        Word(static_cast<UInt16>(layout.width));
        Word(static_cast<UInt16>(layout.height));
        Text(layout.title);
        Word(static_cast<UInt16>(layout.items.size()));
        for (const DG::LayoutItem& item : layout.items) {
            Item(item);
        }
        std::vector<std::uint8_t> bytes;
        const auto count = static_cast<std::uint32_t>(body.size());
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>((count >> shift) & 0xFFu));
        }
        bytes.insert(bytes.end(), body.begin(), body.end());
        return bytes;
    }

private:
    // A pop-up stores the open list's height as its seventh word and its closed height after it; the
    // parsed item keeps them as the first two extra words.
    void Item(const DG::LayoutItem& item) {
        const bool popUp = item.kind == DG::ItemKind::PopUp;
        for (Int16 word : {item.number, static_cast<Int16>(item.kind), static_cast<Int16>(item.style),
                           item.left, item.top, item.width}) {
            Word(static_cast<UInt16>(word));
        }
        Word(popUp ? item.extraWords.at(0) : static_cast<UInt16>(item.height));
        for (std::size_t index = popUp ? 1 : 0; index < item.extraWords.size(); ++index) {
            Word(item.extraWords[index]);
        }
        switch (item.kind) {
        case DG::ItemKind::PushButton:
        case DG::ItemKind::CheckBox:
        case DG::ItemKind::StaticText:
            Text(item.text);
            break;
        case DG::ItemKind::Icon:
            Word(static_cast<UInt16>(item.iconNumber));
            break;
        case DG::ItemKind::PopUp:
        case DG::ItemKind::Separator:
            break;
        }
    }

    void Word(UInt16 value) { LittleEndian::Append16(body, value); }
    void Text(const std::string& text) {
        body.insert(body.end(), text.begin(), text.end());
        body.push_back(0);
    }

    std::vector<std::uint8_t> body;
};

bool SameItem(const DG::LayoutItem& left, const DG::LayoutItem& right) {
    return left.number == right.number && left.kind == right.kind && left.style == right.style &&
           left.left == right.left && left.top == right.top && left.width == right.width &&
           left.height == right.height && left.text == right.text && left.iconNumber == right.iconNumber &&
           left.extraWords == right.extraWords;
}

bool SameLayout(const DG::DialogLayout& left, const DG::DialogLayout& right) {
    if (left.width != right.width || left.height != right.height || left.title != right.title ||
        left.items.size() != right.items.size()) {
        return false;
    }
    for (std::size_t index = 0; index < left.items.size(); ++index) {
        if (!SameItem(left.items[index], right.items[index])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr Int32 Resource = 7001;
    const DG::LayoutParse parsed = DG::ParseDialogLayout(std::span<const std::uint8_t>(data, size), Resource);
    if (!parsed.layout) {
        FUZZ_REQUIRE(parsed.error.offset <= size, "a refusal names a place inside the resource");
        FUZZ_REQUIRE(!parsed.error.message.empty(), "a refusal says why");
        (void)parsed.error.Describe();
        return 0;
    }
    const std::vector<std::uint8_t> encoded = LayoutEncoder().Encode(*parsed.layout);
    const DG::LayoutParse again = DG::ParseDialogLayout(encoded, Resource);
    FUZZ_REQUIRE(again.layout.has_value(), "a re-encoded layout parses");
    FUZZ_REQUIRE(SameLayout(*parsed.layout, *again.layout), "it parses to the same layout");
    return 0;
}
