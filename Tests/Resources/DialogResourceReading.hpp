#pragma once

#include "ModuleResourceFile.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Dialog layouts ("GSDG") and help records ("DLGH") read record by record from their byte layouts, as
// the host's dialog library reads them: a layout's item records by the kind table of item type codes.
namespace ModuleResources {

// The information dialog and the export settings dialog.
inline constexpr std::array<std::uint16_t, 2> DialogNumbers = {7000, 7001};

struct LayoutItem {
    std::size_t offset = 0;
    std::uint16_t number = 0;
    std::uint16_t type = 0;
    std::uint16_t style = 0;
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    // The words after the rectangle.
    std::vector<std::uint16_t> further;
    std::optional<std::string> text;

    bool operator==(const LayoutItem&) const = default;
};

struct DialogLayout {
    std::uint32_t count = 0;
    std::array<std::uint16_t, 4> headerWords{};
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::string title;
    std::uint16_t itemCount = 0;
    std::vector<LayoutItem> items;
    // Where reading stopped: the resource's size when the layout is read whole.
    std::size_t end = 0;
};

// Throws OutOfBytes when a record runs past the end, std::runtime_error for a type code that no
// kind has.
DialogLayout ReadDialogLayout(const std::vector<std::uint8_t>& bytes);

struct HelpAnchor {
    std::uint16_t item = 0;
    std::string text;
    std::string anchor;
};

struct DialogHelp {
    std::uint32_t count = 0;
    std::string name;
    std::uint16_t recordCount = 0;
    std::vector<HelpAnchor> records;
    std::size_t end = 0;
};

DialogHelp ReadDialogHelp(const std::vector<std::uint8_t>& bytes);

} // namespace ModuleResources
