#include "Session/ModuleLoader.hpp"

#include "EntryPointRecord.hpp"

#include <dlfcn.h>

namespace HostSim {

namespace {

std::string LastLoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "unknown loader error";
}

} // namespace

LoadedModule::LoadedModule(void* systemHandle, std::string utf8Path)
    : handle(systemHandle), path(std::move(utf8Path)) {}

LoadedModule::~LoadedModule() {
    Unload();
}

LoadedModule::LoadResult LoadedModule::Load(const std::string& utf8Path) {
    dlerror();
    // RTLD_LOCAL: an add-on's symbols never resolve another add-on's references.
    void* handle = dlopen(utf8Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, LastLoaderError()};
    }
    return {std::unique_ptr<LoadedModule>(new LoadedModule(handle, utf8Path)), {}};
}

void* LoadedModule::FindExport(const char* name) const {
    if (handle == nullptr) {
        return nullptr;
    }
    dlerror();
    return dlsym(handle, name);
}

HINSTANCE LoadedModule::Instance() const {
    // On this platform a module instance is its load address, found from any address inside it.
    for (const char* name : {GetExportedFuncAddrsName, SetImportedFuncAddrsName}) {
        if (void* address = FindExport(name)) {
            return Win32Compat::ModuleFromAddress(address);
        }
    }
    return nullptr;
}

LoadedModule::UnloadResult LoadedModule::Unload() {
    if (handle == nullptr) {
        return {};
    }
    UnloadResult result;
    dlerror();
    if (dlclose(handle) != 0) {
        result.error = LastLoaderError();
    }
    handle = nullptr;
    // RTLD_NOLOAD only finds a module that is still mapped; it takes a reference that must be given back.
    if (void* lingering = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD)) {
        result.stillMapped = true;
        dlclose(lingering);
    }
    return result;
}

} // namespace HostSim
