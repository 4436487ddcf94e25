#pragma once

#include <filesystem>

namespace AnalysisApp {

// The file this program was started from (not the name it was called by), so that its records land
// beside it wherever it is copied to. Empty when the system cannot tell.
std::filesystem::path OwnExecutablePath();

} // namespace AnalysisApp
