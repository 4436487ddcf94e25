#include "ModuleImage.hpp"

namespace RS {

ModuleImage::ModuleImage(std::unique_ptr<ModuleResourceSource> resourceSource)
    : source(std::move(resourceSource)) {}

std::span<const ModuleResource> ModuleImage::Resources() {
    if (!read) {
        resources = source->Read();
        read = true;
    }
    return resources ? std::span<const ModuleResource>(resources->resources)
                     : std::span<const ModuleResource>();
}

} // namespace RS
