#pragma once

#include "FaultPlan.hpp"
#include "GSTypes.hpp"
#include "TableOperation.hpp"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace HostSim {

// What one hostsim run was asked to do. Paths are UTF-8 text as given.
struct HostSimOptions {
    std::vector<std::string> modules;
    std::optional<std::string> addonsFolder;
    std::string home = "HostSimHome";
    std::optional<std::string> transcript;
    std::optional<std::string> script;
    std::set<TableOperation> emptySlots;
    // Table operations by their full names ("HostMenuHandlerInstall"), library operations as given.
    std::vector<FailRule> failRules;
    std::map<Int32, std::string> specialFolders;
    bool noRelease = false;
    bool entryBeforeTable = false;
};

struct OptionsParse {
    std::optional<HostSimOptions> options;
    std::string error;
    bool helpRequested = false;
};

// `arguments` excludes the program name.
OptionsParse ParseHostSimOptions(const std::vector<std::string>& arguments);

const char* HostSimUsage();

} // namespace HostSim
