#include "LaunchRecord.hpp"

#include <nlohmann/json.hpp>

#include <fstream>

namespace AnalysisApp {

std::string FormatLaunch(const Launch& launch) {
    nlohmann::ordered_json line;
    line["argv"] = launch.arguments;
    line["cwd"] = launch.workingFolder;
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

bool AppendLaunch(const std::filesystem::path& folder, const Launch& launch) {
    std::ofstream log(folder / LaunchLogName, std::ios::binary | std::ios::app);
    log << FormatLaunch(launch) << '\n';
    log.flush();
    return static_cast<bool>(log);
}

} // namespace AnalysisApp
