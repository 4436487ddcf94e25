#pragma once

#include "AddOnDirectory.hpp"
#include "DebugLineCollector.hpp"
#include "FaultPlan.hpp"
#include "HostServices.hpp"
#include "HostTable.hpp"
#include "LibraryCallRecorder.hpp"
#include "MenuBook.hpp"
#include "ObjectStore.hpp"
#include "Options.hpp"
#include "ScriptCommand.hpp"
#include "Transcript.hpp"

#include <map>
#include <ostream>
#include <string>

namespace HostSim {

// One run of the host: the add-ons it loaded and everything they reach. While a session exists it is
// the host the function table, the library monitor and the debug output lead to.
class HostSession {
public:
    HostSession(const HostSimOptions& options, std::map<Int32, std::string> specialFolders,
                Transcript& transcript, std::ostream& console);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Loads the module and takes it as far as it goes: exports, table, describe, register, start.
    // A module that cannot be used is reported and unloaded; the session goes on without it.
    void LoadAddOn(const std::string& utf8Path);
    void PickMenu(const MenuPick& pick);
    // What the host does on exit: release every started add-on (unless told not to), then unload all.
    void Shutdown();

    unsigned RejectedModuleCount() const { return rejectedModules; }
    unsigned ViolationCount() const { return services.ViolationCount(); }

private:
    bool BindAddOn(AddOn& addOn);
    void Reject(AddOn& addOn, const std::string& reason);
    void StartAddOn(AddOn& addOn);
    GSErrCode CallEntry(AddOn& addOn, EntryPoint entry, bool beforeTable);
    GSErrCode Describe(AddOn& addOn, Json& fields);
    void Unload(AddOn& addOn);
    void WriteAllocations(const AddOn& addOn, GS::MemoryOwner owner, const std::string& ownerName,
                          const char* after);
    std::string CallerName() const;

    const HostSimOptions& options;
    std::map<Int32, std::string> specialFolders;
    Transcript& transcript;
    std::ostream& console;
    FaultPlan faults;
    AddOnDirectory addOns;
    MenuBook menus;
    ObjectStore objects;
    LibraryCallRecorder libraryCalls;
    DebugLineCollector debugLines;
    HostServices services;
    HostFunctionTableBytes table;
    CallMonitorInstallation monitorInstallation;
    DebugSinkInstallation sinkInstallation;
    unsigned rejectedModules = 0;
};

} // namespace HostSim
