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

// The platform's part: a loaded module's resources (on POSIX the ".apxres" section of the module's
// file, holding .res bytes; on Windows the module's PE resources), in three steps of growing cost:
// which image they are in, where in it, and what they are. Only the first lookup reads them.
class ModuleResourceSource {
public:
    virtual ~ModuleResourceSource() = default;

    // True when `other` names the same module image, so that both would read the same resources.
    virtual bool IsSameImage(const ModuleResourceSource& other) const = 0;
    // Finds the resources in the image without reading them; false when it has none. Not needed
    // for a source that shares an image already found.
    virtual bool Find() = 0;
    // The resources, after Find; nothing when they turn out unreadable (not a resource file, cut
    // short).
    virtual std::optional<ModuleResources> Read() const = 0;
};

// The image of the loaded module `module` (its load address; null for the main program). Nothing
// when `module` is no loaded module.
std::unique_ptr<ModuleResourceSource> IdentifyModuleImage(HINSTANCE module);

} // namespace RS
