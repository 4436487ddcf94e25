#include "ScenarioRegistry.hpp"

#include "ScenarioHarness.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <vector>

namespace Scenarios {

namespace {

void DeleteTree(HKEY root, const wchar_t* parentPath, const wchar_t* name) {
    HKEY parent = nullptr;
    if (::RegOpenKeyExW(root, parentPath, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &parent) == ERROR_SUCCESS) {
        ::RegDeleteTreeW(parent, name);
        ::RegCloseKey(parent);
    }
}

std::string Utf8(const std::wstring& text) {
    return PathText(std::filesystem::path(text));
}

// The key's values (name, type, bytes in hex) and then its subkeys, depth first, each line led by
// the key's path.
void AppendKey(HKEY root, const std::wstring& path, std::string& text) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return;
    }
    text += Utf8(path) + "\n";
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        text += Utf8(path) + " : " + Utf8(std::wstring(name.data(), nameLength)) + " (" +
                std::to_string(type) + ") " +
                HexText(std::string_view(reinterpret_cast<const char*>(data.data()), dataLength)) + "\n";
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name.data(), nameLength);
    }
    ::RegCloseKey(key);
    for (const std::wstring& subkey : subkeys) {
        AppendKey(root, path + L"\\" + subkey, text);
    }
}

} // namespace

void ClearScenarioRegistry() {
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"VELD");
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", L"HostSim");
    DeleteTree(HKEY_CURRENT_USER, L"Software", L"HostSim");
    DeleteTree(HKEY_CURRENT_USER, L"Software", L"Host");
}

std::string ScenarioRegistryText() {
    std::string text;
    AppendKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VELD", text);
    AppendKey(HKEY_CURRENT_USER, L"Software\\HostSim", text);
    AppendKey(HKEY_CURRENT_USER, L"Software\\Host", text);
    return text;
}

} // namespace Scenarios
