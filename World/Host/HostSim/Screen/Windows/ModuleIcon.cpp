#include "Screen/Windows/ModuleIcon.hpp"

#include "Snapshots/ModuleIconImage.hpp"

namespace HostSim {

HICON ModuleIcon(GSResModule module, Int16 iconNumber, int width, int height) {
    std::optional<std::vector<std::uint8_t>> png = ModuleIconPng(module, iconNumber);
    if (!png) {
        return nullptr;
    }
    // Windows takes a PNG image as icon resource bits as it takes a bitmap icon.
    return ::CreateIconFromResourceEx(png->data(), static_cast<DWORD>(png->size()), TRUE, 0x00030000, width,
                                      height, LR_DEFAULTCOLOR);
}

} // namespace HostSim
