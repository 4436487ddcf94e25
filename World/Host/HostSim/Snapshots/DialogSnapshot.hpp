#pragma once

#include "DialogModel.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace HostSim {

// The PNG image of icon `number` at 96 dots per inch from the dialog's resources, when there is one.
using IconImageLookup = std::function<std::optional<std::vector<std::uint8_t>>(GSResModule, Int16)>;

// The dialog as an SVG picture: a title bar, then every item at its rectangle (one layout unit is one
// pixel). Icons are embedded as data: URIs of their PNG images; without an image, a placeholder square
// with the icon's number. Disabled items are drawn faded.
std::string DialogAsSvg(const DG::DialogModel& model, const IconImageLookup& icons);

// Writes one numbered picture per call into a folder: "001-7001-VELD-Engineer-Export-Settings-
// dialog-open.svg".
class SnapshotWriter {
public:
    SnapshotWriter(std::string utf8Folder, IconImageLookup icons);
    // Empty when written; otherwise why not.
    std::string Write(const DG::DialogModel& model, const std::string& event);

private:
    std::string folder;
    IconImageLookup iconLookup;
    unsigned sequence = 0;
};

} // namespace HostSim
