#pragma once

#include <string>

namespace TestSupport {

// Waits until a file whose name starts with `prefix` is made in the folder that `watch` (an inotify
// descriptor with an IN_CREATE watch) watches; false when none is made within 30 seconds, so that a
// writer that never makes the file (one that names it otherwise) fails a kill loop instead of
// hanging it.
bool WaitForCreation(int watch, const std::string& prefix);

} // namespace TestSupport
