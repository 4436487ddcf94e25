#pragma once

#include "GSTypes.hpp"
#include "Win32Api.hpp"

namespace HostSim {

// Icon `iconNumber` of resource module `module` as a Windows icon of width x height, made from the
// PNG image the module holds for it; null when the module has none. The caller destroys it.
HICON ModuleIcon(GSResModule module, Int16 iconNumber, int width, int height);

} // namespace HostSim
