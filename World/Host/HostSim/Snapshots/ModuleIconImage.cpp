#include "Snapshots/ModuleIconImage.hpp"

#include "RS.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace HostSim {

namespace {

constexpr UInt16 IconType = 3;       // RT_ICON
constexpr UInt16 IconGroupType = 14; // RT_GROUP_ICON

// A group directory: reserved word, type word (1 for icons), entry count, then 14-byte entries
// (width, height, colours, reserved, planes, bit count, byte size, and the icon's number last).
constexpr std::size_t DirectoryHeaderSize = 6;
constexpr std::size_t DirectoryEntrySize = 14;
constexpr std::size_t EntryIconNumberOffset = 12;

constexpr std::array<std::uint8_t, 8> PngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

UInt16 WordAt(const UInt8* bytes, std::size_t offset) {
    return LittleEndian::Read16(bytes + offset);
}

std::u16string GroupName(Int16 iconNumber) {
    const std::string name = "I" + std::to_string(iconNumber) + "&96";
    return std::u16string(name.begin(), name.end());
}

} // namespace

std::optional<std::vector<std::uint8_t>> ModuleIconPng(GSResModule module, Int16 iconNumber) {
    const std::u16string groupName = GroupName(iconNumber);
    UInt32 groupSize = 0;
    const UInt8* group = RSFindWindowsResource(module, IconGroupType, groupName.c_str(), 0, &groupSize);
    if (group == nullptr || groupSize < DirectoryHeaderSize + DirectoryEntrySize || WordAt(group, 2) != 1 ||
        WordAt(group, 4) < 1) {
        return std::nullopt;
    }
    const UInt16 iconResource = WordAt(group, DirectoryHeaderSize + EntryIconNumberOffset);
    UInt32 iconSize = 0;
    const UInt8* icon = RSFindWindowsResource(module, IconType, nullptr, iconResource, &iconSize);
    if (icon == nullptr || iconSize < PngSignature.size() ||
        !std::equal(PngSignature.begin(), PngSignature.end(), icon)) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(icon, icon + iconSize);
}

} // namespace HostSim
