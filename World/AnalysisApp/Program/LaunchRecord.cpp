#include "Program/LaunchRecord.hpp"

#include "SafRules/CheckReportJson.hpp"

#include <nlohmann/json.hpp>

#include <fstream>

namespace AnalysisApp {

std::string FormatLaunch(const Launch& launch) {
    nlohmann::ordered_json line;
    line["argv"] = launch.arguments;
    line["cwd"] = launch.workingFolder;
    line["exitCode"] = launch.exitCode;
    if (launch.summary) {
        const SafSummary& summary = *launch.summary;
        line["summary"] = {{"safVersion", summary.safVersion}, {"unitSystem", summary.unitSystem},
                           {"materials", summary.materials},   {"crossSections", summary.crossSections},
                           {"nodes", summary.nodes},           {"members", summary.members},
                           {"surfaces", summary.surfaces},     {"storeys", summary.storeys},
                           {"supports", summary.supports}};
        nlohmann::ordered_json objects = nlohmann::ordered_json::object();
        for (const auto& [sheet, count] : summary.objects) {
            objects[sheet] = count;
        }
        line["summary"]["objects"] = std::move(objects);
    }
    if (launch.check) {
        line["check"] = CheckReportJson(*launch.check);
    }
    if (!launch.error.empty()) {
        line["error"] = launch.error;
    }
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

bool AppendLaunch(const std::filesystem::path& folder, const Launch& launch) {
    std::ofstream log(folder / LaunchLogName, std::ios::binary | std::ios::app);
    log << FormatLaunch(launch) << '\n';
    log.flush();
    return static_cast<bool>(log);
}

} // namespace AnalysisApp
