#include "ModuleFloor.hpp"

#include "GSPref.hpp"

#include <dlfcn.h>

#include <chrono>
#include <stdexcept>

double TimeModuleFloor(const std::filesystem::path& home) {
    GSPref::SetStoreFolder((home / "Registry").string().c_str());
    const auto start = std::chrono::steady_clock::now();
    void* module = dlopen(EMPTY_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        throw std::runtime_error(dlerror());
    }
    GSPref::IRoot* root =
        GSPref::OpenRootKey(GSPref::RootKeyDomain::LocalMachine, "SOFTWARE\\VELD\\Installer");
    GS::UniString installFolder;
    if (root != nullptr) {
        root->ReadStringValue("VeldEngineer\\23.1", "InstallDir", installFolder, GS::UniString(), 0);
    }
    GSPref::CloseRootKey(&root);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    dlclose(module);
    if (installFolder.IsEmpty()) {
        throw std::runtime_error("the registry read found no install folder");
    }
    return elapsed.count();
}
