#pragma once

#include "AddOnInterface.hpp"
#include "MemoryManager.hpp"
#include "Session/AddOnLifecycle.hpp"
#include "Session/ModuleLoader.hpp"

#include <memory>
#include <string>

namespace HostSim {

// One add-on module as the host keeps it.
struct AddOn {
    std::string name; // the module's file name without its extension
    std::string path;
    std::unique_ptr<LoadedModule> module;
    // Blocks made while the module loads or unloads (its constants, its DllMain) count to the static
    // owner; everything made inside the host's calls into it counts to the other.
    GS::MemoryOwner staticOwner = GS::HostMemoryOwner;
    GS::MemoryOwner owner = GS::HostMemoryOwner;
    EntryPointRecord entries{};
    AddOnLifecycle lifecycle;
    AddOnToken token = nullptr;
    // The host's own view of the module's resources (menu texts), separate from the add-on's.
    GSResModule resources = InvalidResModule;
    bool startCalled = false;
};

} // namespace HostSim
