#pragma once

#include "DialogModel.hpp"
#include "UIDriver.hpp"

#include <string>

namespace HostSim {

// The terminal face: an alert or dialog drawn as plain text, followed by the commands that fit it.
std::string AlertAsText(const DG::AlertRequest& request);
std::string DialogAsText(const DG::DialogModel& model);

} // namespace HostSim
