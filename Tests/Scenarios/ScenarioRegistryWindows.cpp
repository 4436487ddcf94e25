#include "ScenarioRegistry.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace Scenarios {

namespace {

void DeleteTree(HKEY root, const wchar_t* parentPath, const wchar_t* name) {
    HKEY parent = nullptr;
    if (::RegOpenKeyExW(root, parentPath, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &parent) == ERROR_SUCCESS) {
        ::RegDeleteTreeW(parent, name);
        ::RegCloseKey(parent);
    }
}

} // namespace

void ClearScenarioRegistry() {
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"VELD");
    DeleteTree(HKEY_CURRENT_USER, L"Software", L"HostSim");
    DeleteTree(HKEY_CURRENT_USER, L"Software", L"Host");
}

} // namespace Scenarios
