#pragma once

#include "ModuleResourceReader.hpp"

#include <memory>
#include <optional>
#include <span>

namespace RS {

// One loaded module's resources, read at the first lookup rather than when the module is opened:
// a module that is loaded and never asked for a resource costs no reading.
class ModuleImage {
public:
    explicit ModuleImage(std::unique_ptr<ModuleResourceSource> resourceSource);

    const ModuleResourceSource& Source() const { return *source; }
    // Reads them on the first call; empty when they are unreadable. Not thread-safe: the caller
    // serialises.
    std::span<const ModuleResource> Resources();

private:
    std::unique_ptr<ModuleResourceSource> source;
    std::optional<ModuleResources> resources;
    bool read = false;
};

} // namespace RS
