#include "ModuleFile.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <vector>

namespace {
HMODULE AsModule(void* handle) {
    return static_cast<HMODULE>(handle);
}

std::string Utf8(const std::wstring& text) {
    const std::u8string utf8 = std::filesystem::path(text).u8string();
    return std::string(utf8.begin(), utf8.end());
}
} // namespace

ModuleFile::ModuleFile(const std::string& utf8Path) {
    const std::wstring path =
        std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())).wstring();
    handle = ::LoadLibraryW(path.c_str());
    if (handle == nullptr) {
        error = "LoadLibraryW failed with error " + std::to_string(::GetLastError());
    }
}

ModuleFile::~ModuleFile() {
    Unload();
}

void* ModuleFile::Find(const char* name) const {
    return handle != nullptr ? reinterpret_cast<void*>(::GetProcAddress(AsModule(handle), name)) : nullptr;
}

std::string ModuleFile::SystemPath() const {
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetModuleFileNameW(AsModule(handle), path.data(), static_cast<DWORD>(path.size()));
    return Utf8(std::wstring(path.data(), length));
}

void ModuleFile::Unload() {
    if (handle != nullptr) {
        ::FreeLibrary(AsModule(handle));
        handle = nullptr;
    }
}
