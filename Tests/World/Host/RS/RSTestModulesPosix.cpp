#include "RSTestModules.hpp"

namespace RSTest {

const char* const ProgramFileName = "RSTests";

HINSTANCE ModuleAt(const void* address) {
    return Win32Compat::ModuleFromAddress(address);
}

} // namespace RSTest
