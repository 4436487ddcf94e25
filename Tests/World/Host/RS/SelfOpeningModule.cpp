// A module that does at load and unload what the add-on's DllMain does with its resources: opens
// them from a static object's constructor, while the loader is still loading the module, and
// removes them from its destructor.
#include "RS.hpp"

extern "C" __attribute__((visibility("default"))) GSResModule SelfOpenedResourceModule();

namespace {

class ResourceModuleOwner {
public:
    ResourceModuleOwner()
        : module(RSInitModuleImageCache(
              Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&SelfOpenedResourceModule)))) {}
    ~ResourceModuleOwner() { RSRemoveModuleImageCache(module); }
    ResourceModuleOwner(const ResourceModuleOwner&) = delete;
    ResourceModuleOwner& operator=(const ResourceModuleOwner&) = delete;

    const GSResModule module;
};

const ResourceModuleOwner owner;

} // namespace

extern "C" GSResModule SelfOpenedResourceModule() {
    return owner.module;
}
