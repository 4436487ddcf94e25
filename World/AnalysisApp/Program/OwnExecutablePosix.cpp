#include "Program/OwnExecutable.hpp"

#include <system_error>

namespace AnalysisApp {

std::filesystem::path OwnExecutablePath() {
    std::error_code failure;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::filesystem::path() : path;
}

} // namespace AnalysisApp
