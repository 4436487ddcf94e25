#pragma once

#include <filesystem>

// Wall seconds of the least any add-on start costs: mapping and unmapping an empty module and reading
// one registry value (VELD Engineer's install folder from the registry of data folder `home`).
double TimeModuleFloor(const std::filesystem::path& home);
