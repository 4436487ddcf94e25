#include "ModuleAddress.hpp"

namespace TestSupport {

HINSTANCE ModuleContaining(const void* address) {
    return Win32Compat::ModuleFromAddress(address);
}

} // namespace TestSupport
