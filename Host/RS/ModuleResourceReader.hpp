#pragma once

#include "ResFormat/ResName.hpp"
#include "Win32Api.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace RS {

// One resource of the host's language (1033): its bytes live in ModuleResources::storage.
struct ModuleResource {
    ResFormat::ResName type;
    ResFormat::ResName name;
    std::span<const std::uint8_t> data;
};

// Every resource of the host's language that one module holds, and whatever keeps their bytes.
struct ModuleResources {
    std::vector<ModuleResource> resources;
    std::shared_ptr<const void> storage;
};

// The platform's part: where a loaded module keeps its resources, found without reading them (on
// POSIX the ".apxres" section of the module's file, holding .res bytes; on Windows the module's PE
// resources). Reading them waits for the first lookup.
class ModuleResourceSource {
public:
    virtual ~ModuleResourceSource() = default;

    // True when `other` was found for the same module image, so that both read the same resources.
    virtual bool IsSameImage(const ModuleResourceSource& other) const = 0;
    // The resources; nothing when they turn out unreadable (not a resource file, cut short).
    virtual std::optional<ModuleResources> Read() const = 0;
};

// The resources of the loaded module `module` (its load address; null for the main program).
// Nothing when `module` is no loaded module or the module has no resources at all.
std::unique_ptr<ModuleResourceSource> LocateModuleResources(HINSTANCE module);

} // namespace RS
