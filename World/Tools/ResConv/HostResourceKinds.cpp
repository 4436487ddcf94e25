#include "ResourceKinds.hpp"

#include "ResFormat/ResFileLayout.hpp"
#include "ResFormat/StringListFormat.hpp"

#include <limits>

// The host's own resource types: named types, each a 32-bit count of the rest and then its fields.
namespace ResConv {

namespace {

// GSResID is a signed 16-bit number: the host cannot ask for a resource of its own types above 32767.
constexpr std::int64_t LastHostResourceNumber = 32767;
constexpr std::uint16_t HostMemoryFlags = ResFormat::MemoryMoveable | ResFormat::MemoryPure;
constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max();
// Item lines that the writer counts into a 16-bit field.
constexpr std::size_t CountedInSixteenBits = 0xFFFF;

FieldShape Word(std::string_view name) {
    return FieldShape{name, FieldType::UInt16};
}

FieldShape Fixed(std::string_view name, std::int64_t value) {
    return FieldShape{name, FieldType::UInt16, FieldOrigin::Fixed, value};
}

FieldShape Text(std::string_view name) {
    return FieldShape{name, FieldType::Text8};
}

// Every dialog item begins with the same seven words; the second is the kind's type code, which
// the keyword already says, so the source does not write it.
std::vector<FieldShape> DialogItem(std::int64_t typeCode, std::vector<FieldShape> further) {
    std::vector<FieldShape> fields = {
        Word("number"), Fixed("type", typeCode), Word("style"),  Word("left"),
        Word("top"),    Word("width"),           Word("height"),
    };
    fields.insert(fields.end(), further.begin(), further.end());
    return fields;
}

ResourceKind StringList() {
    return ResourceKind{
        .word = ResFormat::StringListTypeName,
        .displayName = "string list",
        .type = ResFormat::ResName::NamedUpperCase(ResFormat::StringListTypeName),
        .memoryFlags = HostMemoryFlags,
        .firstNumber = 1,
        .lastNumber = LastHostResourceNumber,
        .numberRangeReason = "the host asks for string lists by signed 16-bit numbers",
        .takesNames = false,
        .header = std::nullopt,
        .items = {RecordShape{"text", "text", {Text("text")}}},
        .minimumItems = 1,
        .maximumItems = Unlimited,
        .layout = PayloadLayout::HostFramed,
    };
}

// Header words, size and title, the item count, then the items in item-number order. The words
// after each item's rectangle are named by their place in the record: their meaning is the host's.
ResourceKind DialogLayout() {
    return ResourceKind{
        .word = "GSDG",
        .displayName = "dialog",
        .type = ResFormat::ResName::NamedUpperCase("GSDG"),
        .memoryFlags = HostMemoryFlags,
        .firstNumber = 1,
        .lastNumber = LastHostResourceNumber,
        .numberRangeReason = "the host asks for dialogs by signed 16-bit numbers",
        .takesNames = false,
        .header = RecordShape{"dialog",
                              "dialog",
                              {Word("word1"), Word("word2"), Word("word3"), Word("word4"), Word("width"),
                               Word("height"), Text("title"),
                               FieldShape{"item count", FieldType::UInt16, FieldOrigin::ItemCount}}},
        .items =
            {
                RecordShape{"button", "push button",
                            DialogItem(1, {Word("word8"), Word("word9"), Text("text")})},
                RecordShape{"checkbox", "check box", DialogItem(2, {Word("word8"), Text("text")})},
                RecordShape{"popup", "pop-up", DialogItem(5, {Word("word8"), Word("word9"), Word("word10")})},
                RecordShape{"lefttext", "static text",
                            DialogItem(13, {Word("word8"), Word("word9"), Text("text")})},
                RecordShape{"separator", "separator", DialogItem(15, {})},
                RecordShape{"icon", "icon", DialogItem(16, {Word("word8"), Word("icon")})},
            },
        .minimumItems = 1,
        .maximumItems = CountedInSixteenBits,
        .layout = PayloadLayout::HostFramed,
    };
}

// The help name, the record count, then per item its number, an empty text and its anchor name.
ResourceKind DialogHelp() {
    return ResourceKind{
        .word = "DLGH",
        .displayName = "help record",
        .type = ResFormat::ResName::NamedUpperCase("DLGH"),
        .memoryFlags = HostMemoryFlags,
        .firstNumber = 1,
        .lastNumber = LastHostResourceNumber,
        .numberRangeReason = "a help record has the number of its dialog, a signed 16-bit number",
        .takesNames = false,
        .header = RecordShape{"help",
                              "help",
                              {Text("name"),
                               FieldShape{"record count", FieldType::UInt16, FieldOrigin::ItemCount}}},
        .items = {RecordShape{
            "anchor",
            "anchor",
            {Word("item"), FieldShape{"text", FieldType::Text8, FieldOrigin::Fixed, 0, ""}, Text("anchor")}}},
        .minimumItems = 1,
        .maximumItems = CountedInSixteenBits,
        .layout = PayloadLayout::HostFramed,
    };
}

ResourceKind ModuleIdentifier() {
    return ResourceKind{
        .word = "MDID",
        .displayName = "module identifier",
        .type = ResFormat::ResName::NamedUpperCase("MDID"),
        .memoryFlags = HostMemoryFlags,
        .firstNumber = 1,
        .lastNumber = LastHostResourceNumber,
        .numberRangeReason = "the host asks for module identifiers by signed 16-bit numbers",
        .takesNames = false,
        .header = std::nullopt,
        .items = {RecordShape{"value", "value", {FieldShape{"value", FieldType::UInt32}}}},
        .minimumItems = 2,
        .maximumItems = 2,
        .layout = PayloadLayout::HostFramed,
    };
}

} // namespace

const std::vector<ResourceKind>& HostResourceKinds() {
    static const std::vector<ResourceKind> kinds = {DialogHelp(), DialogLayout(), ModuleIdentifier(),
                                                    StringList()};
    return kinds;
}

} // namespace ResConv
