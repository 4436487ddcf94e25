#include "LifecycleRules.hpp"

namespace Sweep {

bool IsLocatorCall(const std::string& operation) {
    return operation == "GSPref::OpenRootKey" || operation == "GSPref::EnumerateSubKeys" ||
           operation == "GSPref::ReadStringValue" || operation == "IO::Location::AppendToLocal" ||
           operation == "FileExists";
}

std::optional<std::set<Outcome>> StartUpRules(const SweptCall& call, Outcome commandDone) {
    const std::string& operation = call.operation;
    if (operation == "RSRemoveModuleImageCache" || operation == "GSPref::CloseRootKey") {
        // Unload, and the close that the locator makes on every path: nothing the user sees depends
        // on them.
        return std::set<Outcome>{commandDone};
    }
    if (call.duringCommand || operation == "RSInitModuleImageCache") {
        // A resource module that cannot be opened shows only in what the command draws from it.
        return std::nullopt;
    }
    if (operation == "RSGetIndString_ParamAdapter") {
        // Only the add-on's name and description for the host's list of add-ons.
        return std::set<Outcome>{commandDone};
    }
    if (IsLocatorCall(operation) || operation == "HostMenuRegister" ||
        operation == "HostMenuHandlerInstall") {
        // The menu is registered only when the analysis application is found, and a menu without
        // its handler never reaches the add-on.
        return std::set<Outcome>{Outcome::NoMenu};
    }
    return std::set<Outcome>{};
}

} // namespace Sweep
