#pragma once

#include "ResFormat/ResourceEntry.hpp"
#include "Win32Api.hpp"

#include <optional>
#include <vector>

namespace RS {

// The platform's part: every resource of the loaded module `module` (its load address; null for the
// main program), copied out of the module. Nothing when the module has no resources that can be
// read. On POSIX the resources are the .res bytes of the module file's ".apxres" section.
std::optional<std::vector<ResFormat::ResourceEntry>> ReadModuleResources(HINSTANCE module);

} // namespace RS
