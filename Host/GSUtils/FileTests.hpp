#pragma once

#include "GSUtilsExport.hpp"
#include "Location.hpp"

// True when a regular file (not a folder) exists at `location`.
GSUTILS_API bool FileExists(const IO::Location& location);
