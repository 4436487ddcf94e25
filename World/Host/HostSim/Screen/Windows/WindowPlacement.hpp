#pragma once

#include "Win32Api.hpp"

namespace HostSim {

// Where a window of `size` goes so that it is centred over `owner` (over the work area without one),
// and kept on the work area.
POINT CentredOver(HWND owner, SIZE size);

} // namespace HostSim
