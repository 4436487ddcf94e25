#pragma once

#include "Record/DebugLineCollector.hpp"
#include "Record/LibraryCallRecorder.hpp"
#include "Record/RunTimings.hpp"
#include "Record/Transcript.hpp"
#include "SafAddOn.hpp"
#include "Screen/ScriptCommand.hpp"
#include "Services/FaultPlan.hpp"
#include "Services/HostServices.hpp"
#include "Services/HostTable.hpp"
#include "Services/MenuBook.hpp"
#include "Services/ProjectDocument.hpp"
#include "Session/AddOnDirectory.hpp"
#include "Session/Options.hpp"

#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace HostSim {

// One run of the host: the add-ons it loaded and everything they reach. While a session exists it is
// the host the function table, the library monitor and the debug output lead to.
class HostSession {
public:
    // The session works on `project` (an open project document that outlives it) and adds its
    // measurements to `timings`.
    HostSession(const HostSimOptions& options, std::map<Int32, std::string> specialFolders,
                ProjectDocument& project, Transcript& transcript, RunTimings& timings, std::ostream& console);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Loads the module and takes it as far as it goes: exports, table, describe, register, start.
    // A module that cannot be used is reported and unloaded; the session goes on without it.
    void LoadAddOn(const std::string& utf8Path);
    void PickMenu(const MenuPick& pick);
    // The `save` command; empty when the project was written, otherwise why not.
    std::string SaveProject();
    // What the host does on exit: release every started add-on (unless told not to), then unload all.
    void Shutdown();

    // What a main window shows: the menus the add-ons registered, and the open project.
    const MenuBook& Menus() const { return menus; }
    const ProjectDocument& Project() const { return project; }
    // Why `pick` names no item of the menu registered for its list ("menu 32500 has items 1 to 2");
    // empty when it does, or when no menu holds the list.
    std::string MenuItemProblem(const MenuPick& pick) const;
    // What the project holds that its file does not: add-on objects made, changed or deleted since it
    // was read or saved, and a model given with --model. Empty for a project without a file, which is
    // never saved.
    std::vector<std::string> UnsavedChanges() const;
    // The menus the add-ons registered, one "menu LIST ITEM   TEXT" line per item; or why there are
    // none.
    std::string MenuSummary() const;

    unsigned RejectedModuleCount() const { return rejectedModules; }
    unsigned ViolationCount() const { return services.ViolationCount(); }

private:
    bool BindAddOn(AddOn& addOn, Json& startTimes);
    // Writes the module's start times so far, then unloads it.
    void Reject(AddOn& addOn, const std::string& reason, Json& startTimes);
    // Writes the "module-start" timing line: `startTimes` with the host's and the add-on's shares.
    void WriteStartTimes(Json& startTimes);
    void StartAddOn(AddOn& addOn, Json& startTimes);
    // `took`, when given, receives the time of the add-on's entry call.
    GSErrCode CallEntry(AddOn& addOn, EntryPoint entry, bool beforeTable, Nanoseconds* took = nullptr);
    GSErrCode Describe(AddOn& addOn, Json& fields);
    void Unload(AddOn& addOn, Json& stopTimes);
    void WriteAllocations(const AddOn& addOn, GS::MemoryOwner owner, const std::string& ownerName,
                          const char* after);
    std::string CallerName() const;
    void ReportOpenSafHandles();

    const HostSimOptions& options;
    std::map<Int32, std::string> specialFolders;
    Transcript& transcript;
    RunTimings& timings;
    std::ostream& console;
    FaultPlan faults;
    AddOnDirectory addOns;
    MenuBook menus;
    ProjectDocument& project;
    SAF::SafAddOn saf;
    bool safHandlesReported = false;
    LibraryCallRecorder libraryCalls;
    DebugLineCollector debugLines;
    HostServices services;
    HostFunctionTableBytes table;
    std::optional<CallMonitorInstallation> monitorInstallation;
    DebugSinkInstallation sinkInstallation;
    unsigned rejectedModules = 0;
    // The add-on objects as the project's file holds them, for UnsavedChanges.
    std::vector<ObjectStore::Object> savedObjects;
    bool modelSaved;
};

} // namespace HostSim
