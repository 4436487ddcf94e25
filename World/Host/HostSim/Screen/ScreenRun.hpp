#pragma once

#include "Record/RunTimings.hpp"
#include "Record/Transcript.hpp"
#include "Screen/CommandInterpreter.hpp"
#include "Screen/CommandSource.hpp"
#include "Tools/UserDataTool.hpp"

namespace HostSim {

// Runs the commands of `source` with hostsim's UI driver installed on the same source, so that alerts
// and dialogs read their commands where the menu commands come from. False when the commands could
// not all be used (a line the interpreter refused, or one that did not fit an alert or dialog).
bool RunWithScreen(CommandInterpreter& interpreter, CommandSource& source, Transcript& transcript,
                   RunTimings& timings, const ScreenOptions& options);

} // namespace HostSim
