#include "Screen/Windows/WindowPlacement.hpp"

#include <algorithm>

namespace HostSim {

POINT CentredOver(HWND owner, SIZE size) {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    if (owner != nullptr && ::IsWindowVisible(owner)) {
        ::GetWindowRect(owner, &around);
    }
    const LONG x = around.left + ((around.right - around.left) - size.cx) / 2;
    const LONG y = around.top + ((around.bottom - around.top) - size.cy) / 2;
    return POINT{std::max(area.left, std::min(x, area.right - size.cx)),
                 std::max(area.top, std::min(y, area.bottom - size.cy))};
}

} // namespace HostSim
