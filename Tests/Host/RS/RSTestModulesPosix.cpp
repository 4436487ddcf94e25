#include "RSTestModules.hpp"

namespace RSTest {

HINSTANCE ModuleAt(const void* address) {
    return Win32Compat::ModuleFromAddress(address);
}

} // namespace RSTest
