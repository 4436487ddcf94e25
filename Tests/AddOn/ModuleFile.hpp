#pragma once

#include <string>

// The built add-on module loaded by the system's loader, as the host loads it (dlopen, LoadLibraryW),
// so that its own load and unload code runs; unloaded at the end of the scope unless a test did.
class ModuleFile {
public:
    explicit ModuleFile(const std::string& utf8Path);
    ~ModuleFile();
    ModuleFile(const ModuleFile&) = delete;
    ModuleFile& operator=(const ModuleFile&) = delete;

    bool IsLoaded() const { return handle != nullptr; }
    // The loader's reason when loading failed.
    const std::string& Error() const { return error; }
    void* Find(const char* name) const;
    // The path the system loaded the module from, as the module's own GetModuleFileNameW gives it, in UTF-8.
    std::string SystemPath() const;
    void Unload();

private:
    void* handle = nullptr;
    std::string error;
};
