#pragma once

#include <string>

namespace GS {

// Hands debug text to the system's debugger channel as well (OutputDebugStringW on Windows, where a
// debugger or a trace viewer shows the host's debug output; nothing elsewhere).
void WriteToSystemDebugger(const std::string& utf8Text);

} // namespace GS
