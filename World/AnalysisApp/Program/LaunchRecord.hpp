#pragma once

#include "Program/SafSummary.hpp"
#include "SafRules/CheckFinding.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace AnalysisApp {

// How the program was started (every argument after the program name, and the working folder) and
// what it made of the workbook: its summary, or why it was refused.
struct Launch {
    std::vector<std::string> arguments;
    std::string workingFolder;
    std::optional<SafSummary> summary;
    std::optional<CheckReport> check;
    std::string error;
    int exitCode = 0;
};

// One JSON line: {"argv":[...],"cwd":"...","exitCode":0,"summary":{...},"check":{...}} with "error"
// instead of "summary" for a refused workbook; "check" holds the SAF checker's findings (the first
// thousand) whenever the file was a workbook at all. Bytes that are not UTF-8 become U+FFFD rather than
// losing the line.
std::string FormatLaunch(const Launch& launch);

// Appends the line to VeldEngineer.launches.jsonl in `folder`. False when it cannot be written.
bool AppendLaunch(const std::filesystem::path& folder, const Launch& launch);

constexpr const char* LaunchLogName = "VeldEngineer.launches.jsonl";

} // namespace AnalysisApp
