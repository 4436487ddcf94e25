#pragma once

#include "Win32Api.hpp"

namespace TestSupport {

// The loaded module (the program itself or a library) whose image holds `address`: its load
// address, which is what the host hands to the resource library as the module's instance.
HINSTANCE ModuleContaining(const void* address);

} // namespace TestSupport
