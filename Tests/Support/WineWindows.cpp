#include "Wine.hpp"

#include "Win32Api.hpp"

namespace TestSupport {

// Wine's ntdll exports its version; Windows' does not.
bool RunsUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace TestSupport
