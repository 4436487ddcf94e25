#include "ModuleAddress.hpp"

namespace TestSupport {

HINSTANCE ModuleContaining(const void* address) {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    return ::GetModuleHandleExW(flags, static_cast<LPCWSTR>(address), &module) != 0 ? module : nullptr;
}

} // namespace TestSupport
