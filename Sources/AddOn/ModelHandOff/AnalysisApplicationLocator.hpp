#pragma once

#include "Location.hpp"

#include <optional>

// The executable of the installed analysis application, when the registry names an installation
// whose folder holds it; absent otherwise. Reads the registry and tests the file on every call.
std::optional<IO::Location> GetAnalysisApplicationLocation();
