#pragma once

#include "Win32Api.hpp"

#include <memory>
#include <string>

namespace HostSim {

// A module loaded into the process (dlopen on POSIX, LoadLibraryW on Windows). Loading runs the
// module's own load code (its DllMain), unloading its unload code.
class LoadedModule {
public:
    struct LoadResult {
        std::unique_ptr<LoadedModule> module;
        std::string error; // the system's reason when module is null
    };
    struct UnloadResult {
        std::string error;        // empty when the system unloaded it
        bool stillMapped = false; // the system kept the module's code in the process anyway
    };

    // `utf8Path` as given; resolved symbols must all be found at load time.
    static LoadResult Load(const std::string& utf8Path);

    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // The address of the exported function `name`, or null.
    void* FindExport(const char* name) const;
    // What the host's resource library needs to find the module's resources.
    HINSTANCE Instance() const;
    UnloadResult Unload();
    bool IsLoaded() const { return handle != nullptr; }

private:
    LoadedModule(void* systemHandle, std::string utf8Path);

    void* handle;
    std::string path;
};

} // namespace HostSim
