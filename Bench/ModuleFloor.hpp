#pragma once

#include <filesystem>

// Seconds of the least any add-on start costs: mapping an empty module and reading one registry value
// (VELD Engineer's install folder from the registry of data folder `home`). The module is unmapped
// again outside the time, as the add-on's start is timed without its unload.
double TimeModuleFloor(const std::filesystem::path& home);
