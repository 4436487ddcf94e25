#include "Session/ModuleLoader.hpp"

#include "Record/PathText.hpp"

#include <string>

namespace HostSim {

namespace {

// The system's text for `code` in UTF-8, without its trailing line break, and with the code itself
// so that a reader can look it up ("... (error 193)").
std::string SystemErrorText(DWORD code) {
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = length > 0 && message != nullptr ? std::wstring(message, length) : std::wstring();
    if (message != nullptr) {
        ::LocalFree(message);
    }
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    std::string utf8 = PathToUtf8(std::filesystem::path(text));
    return (utf8.empty() ? "system error" : utf8) + " (error " + std::to_string(code) + ")";
}

HMODULE AsModule(void* handle) {
    return static_cast<HMODULE>(handle);
}

} // namespace

LoadedModule::LoadedModule(void* systemHandle, std::string utf8Path)
    : handle(systemHandle), path(std::move(utf8Path)) {}

LoadedModule::~LoadedModule() {
    Unload();
}

LoadedModule::LoadResult LoadedModule::Load(const std::string& utf8Path) {
    const std::wstring widePath = PathFromUtf8(utf8Path).wstring();
    // No error boxes: a module that cannot be loaded is reported, never asked about.
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The host libraries that the module imports are found beside hostsim.exe, as in the host.
    HMODULE module = ::LoadLibraryW(widePath.c_str());
    const DWORD error = ::GetLastError();
    ::SetErrorMode(previousMode);
    if (module == nullptr) {
        return {nullptr, SystemErrorText(error)};
    }
    return {std::unique_ptr<LoadedModule>(new LoadedModule(module, utf8Path)), {}};
}

void* LoadedModule::FindExport(const char* name) const {
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(AsModule(handle), name));
}

HINSTANCE LoadedModule::Instance() const {
    // The module handle is the module's load address, which is what the resource functions take.
    return AsModule(handle);
}

LoadedModule::UnloadResult LoadedModule::Unload() {
    if (handle == nullptr) {
        return {};
    }
    UnloadResult result;
    if (::FreeLibrary(AsModule(handle)) == 0) {
        result.error = SystemErrorText(::GetLastError());
    }
    handle = nullptr;
    // Another reference (the module loaded twice, say) keeps it in the process.
    HMODULE lingering = nullptr;
    const std::wstring widePath = PathFromUtf8(path).wstring();
    if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, widePath.c_str(), &lingering) !=
        0) {
        result.stillMapped = true;
    }
    return result;
}

} // namespace HostSim
