#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"

// The host's debug output. printf-style, with one host rule: "%s" takes a NUL-terminated UTF-16
// string (the add-on passes its module path so); "%hs" takes 8-bit UTF-8 text. Also %d, %i and %%;
// this host copies any other conversion as it stands (DebugFormat.hpp).
GSROOT_API void DBPrintf(const char* format, ...);

namespace GS {
// Where the debug output goes: the host installs a sink; without one it goes to stderr. The sink
// receives the formatted UTF-8 text of each DBPrintf call (not split into lines).
using DebugSink = void (*)(const char* utf8Text, void* context);
GSROOT_API void SetDebugSink(DebugSink sink, void* context);
} // namespace GS
