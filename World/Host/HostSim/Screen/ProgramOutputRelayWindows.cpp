#include "Screen/ProgramOutputRelay.hpp"

namespace HostSim {

// The started programs keep the console. At a console, hostsim reads a line through the console's
// own editing (its keys and history), which shows what was typed and cannot be told to draw it again
// below a program's text: relaying would mean reading every key and editing the line ourselves.
// Without --face text, hostsim.exe has a main window and no prompt at all.
ProgramOutputRelay::ProgramOutputRelay() = default;

ProgramOutputRelay::~ProgramOutputRelay() = default;

} // namespace HostSim
