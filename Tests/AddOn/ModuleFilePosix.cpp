#include "ModuleFile.hpp"

#include <dlfcn.h>

#include <filesystem>

ModuleFile::ModuleFile(const std::string& utf8Path)
    : handle(dlopen(utf8Path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "dlopen failed";
    }
}

ModuleFile::~ModuleFile() {
    Unload();
}

void* ModuleFile::Find(const char* name) const {
    return handle != nullptr ? dlsym(handle, name) : nullptr;
}

std::string ModuleFile::SystemPath() const {
    Dl_info info{};
    void* symbol = Find("GetExportedFuncAddrs");
    if (symbol == nullptr || dladdr(symbol, &info) == 0) {
        return {};
    }
    return std::filesystem::canonical(info.dli_fname).string();
}

void ModuleFile::Unload() {
    if (handle != nullptr) {
        dlclose(handle);
        handle = nullptr;
    }
}
