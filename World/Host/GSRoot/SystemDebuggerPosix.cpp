#include "SystemDebugger.hpp"

namespace GS {

// POSIX has no debugger channel: the sink or stderr is all there is.
void WriteToSystemDebugger(const std::string& /*utf8Text*/) {}

} // namespace GS
