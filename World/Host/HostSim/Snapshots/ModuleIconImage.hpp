#pragma once

#include "GSTypes.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace HostSim {

// The PNG image of icon `iconNumber` at 96 dots per inch in resource module `module`: the icon that
// the first entry of icon group "I<iconNumber>&96" names, when that icon is a PNG. Nothing for a
// missing group or icon, a malformed group directory, or an icon stored as a bitmap.
std::optional<std::vector<std::uint8_t>> ModuleIconPng(GSResModule module, Int16 iconNumber);

} // namespace HostSim
