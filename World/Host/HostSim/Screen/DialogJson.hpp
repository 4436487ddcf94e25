#pragma once

#include "DialogModel.hpp"
#include "Record/Transcript.hpp"
#include "UIDriver.hpp"

namespace HostSim {

// The transcript's picture of a dialog: number, title, width, height, growType and every item with its
// number, kind, rectangle, text, enabled state (check boxes: checked; icons: icon; pop-ups: entries
// with text and enabled, and the selected entry, 0 for none).
Json DialogFields(const DG::DialogModel& model);
// An alert's call, alert type (DGAlert only), texts in argument order and button texts.
Json AlertFields(const DG::AlertRequest& request);
// "Error alert", "Warning", ...: what the alert is called on screen.
std::string AlertTitle(const DG::AlertRequest& request);

} // namespace HostSim
