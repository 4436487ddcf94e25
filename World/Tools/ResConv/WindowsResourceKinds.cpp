#include "ResourceKinds.hpp"

#include "ResFormat/ResFileLayout.hpp"

// Windows' own resource types, which Windows (or the host's menu and dialog libraries) reads from
// the module: numbered types, whose content comes from files beside the sources.
namespace ResConv {

namespace {

constexpr std::int64_t LastWindowsResourceNumber = 0xFFFF;
constexpr std::string_view WindowsNumberReason = "Windows numbers resources from 1";

ResourceKind IconImage() {
    return ResourceKind{
        .word = "ICON",
        .displayName = "icon",
        .type = ResFormat::ResName::Ordinal(ResFormat::TypeIcon),
        .memoryFlags = ResFormat::MemoryMoveable | ResFormat::MemoryDiscardable,
        .firstNumber = 1,
        .lastNumber = LastWindowsResourceNumber,
        .numberRangeReason = WindowsNumberReason,
        .takesNames = false,
        .header = std::nullopt,
        .items =
            {
                RecordShape{"png", "PNG image", {FieldShape{"file", FieldType::PngImageFile}}},
                RecordShape{"bitmap", "bitmap image", {FieldShape{"file", FieldType::BitmapImageFile}}},
            },
        .minimumItems = 1,
        .maximumItems = 1,
        .layout = PayloadLayout::IconImage,
    };
}

// One line per directory entry: the icon's number, then the width, height and bit count that the
// entry states (an entry may say 0 for a PNG image's size; a PNG entry may say bit count 0). Colour
// count, reserved byte, planes and the byte size are the writer's.
ResourceKind IconGroup() {
    return ResourceKind{
        .word = "ICONGROUP",
        .displayName = "icon group",
        .type = ResFormat::ResName::Ordinal(ResFormat::TypeIconGroup),
        .memoryFlags = ResFormat::MemoryMoveable | ResFormat::MemoryPure | ResFormat::MemoryDiscardable,
        .firstNumber = 1,
        .lastNumber = LastWindowsResourceNumber,
        .numberRangeReason = WindowsNumberReason,
        .takesNames = true,
        .header = std::nullopt,
        .items = {RecordShape{"icon",
                              "icon",
                              {FieldShape{"icon", FieldType::UInt16}, FieldShape{"width", FieldType::UInt8},
                               FieldShape{"height", FieldType::UInt8},
                               FieldShape{"bit count", FieldType::UInt16}}}},
        .minimumItems = 1,
        .maximumItems = 0xFFFF,
        .layout = PayloadLayout::IconDirectory,
    };
}

ResourceKind Manifest() {
    return ResourceKind{
        .word = "MANIFEST",
        .displayName = "manifest",
        .type = ResFormat::ResName::Ordinal(ResFormat::TypeManifest),
        .memoryFlags = ResFormat::MemoryMoveable | ResFormat::MemoryPure,
        .firstNumber = 1,
        .lastNumber = 16,
        .numberRangeReason = "Windows looks for manifests numbered 1 to 16 only",
        .takesNames = false,
        .header = std::nullopt,
        .items = {RecordShape{"file", "manifest file", {FieldShape{"file", FieldType::Utf8File}}}},
        .minimumItems = 1,
        .maximumItems = 1,
        .layout = PayloadLayout::FileContent,
    };
}

} // namespace

const std::vector<ResourceKind>& WindowsResourceKinds() {
    static const std::vector<ResourceKind> kinds = {IconImage(), IconGroup(), Manifest()};
    return kinds;
}

} // namespace ResConv
