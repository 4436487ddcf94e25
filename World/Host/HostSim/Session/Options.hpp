#pragma once

#include "GSTypes.hpp"
#include "Services/FaultPlan.hpp"
#include "Services/TableOperation.hpp"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace HostSim {

// What one hostsim run was asked to do. Paths are UTF-8 text as given.
struct HostSimOptions {
    std::vector<std::string> modules;
    std::optional<std::string> addonsFolder;
    std::string home = "HostSimHome";
    std::optional<std::string> transcript;
    // `--timings FILE`: in-run measurements, one JSON object per line (RunTimings).
    std::optional<std::string> timings;
    std::optional<std::string> script;
    std::set<TableOperation> emptySlots;
    // Table operations by their full names ("HostMenuHandlerInstall"), library operations as given.
    std::vector<FailRule> failRules;
    std::map<Int32, std::string> specialFolders;
    // `--progress`: progress lines on long work even when standard error is no terminal.
    bool progress = false;
    bool noRelease = false;
    bool entryBeforeTable = false;
    // The open project's file (--project); without it the project lives in memory only.
    std::optional<std::string> project;
    // A building model file (--model) that replaces the open project's model, as if the user had drawn it.
    std::optional<std::string> model;
    // What SU::ProductVersionInfo announces to add-ons.
    std::string hostVersion = "27";
    Int32 buildNumber = 5000;
    // `--saf-fail CMD=CODE`: the SAF add-on answers CODE to command CMD (a four-letter code).
    std::vector<std::pair<UInt32, GSErrCode>> safFailures;
    // `--cycles N`: the whole run (load, the script, shutdown, unload) N times in this one process.
    UInt32 cycles = 1;
};

struct OptionsParse {
    std::optional<HostSimOptions> options;
    std::string error;
    bool helpRequested = false;
};

// `arguments` excludes the program name.
OptionsParse ParseHostSimOptions(const std::vector<std::string>& arguments);

const char* HostSimUsage();

// Progress lines are drawn on a terminal, or anywhere when asked for.
bool ShowsProgress(const HostSimOptions& options);

} // namespace HostSim
