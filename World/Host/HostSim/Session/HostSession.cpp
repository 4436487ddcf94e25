#include "Session/HostSession.hpp"

#include "Session/EntryPointCheck.hpp"

#include "RS.hpp"
#include "Record/PathText.hpp"
#include "Record/ReadableText.hpp"

#include <algorithm>
#include <utility>

namespace HostSim {

HostSession::HostSession(const HostSimOptions& runOptions, std::map<Int32, std::string> folders,
                         ProjectDocument& openProject, Transcript& output, RunTimings& runTimings,
                         std::ostream& consoleStream)
    : options(runOptions), specialFolders(std::move(folders)), transcript(output), timings(runTimings),
      console(consoleStream), project(openProject), saf(PathFromUtf8(runOptions.home)),
      libraryCalls(output, faults, [this] { return CallerName(); }),
      debugLines(output, consoleStream, [this] { return CallerName(); }),
      services(HostWorld{output, faults, addOns, menus, project.Objects(), libraryCalls, specialFolders,
                         consoleStream, &saf, &project, &runTimings, ShowsProgress(runOptions)}),
      table(BuildHostFunctionTable(runOptions.emptySlots)), sinkInstallation(debugLines),
      savedObjects(openProject.Objects().All()), modelSaved(!runOptions.model) {
    // The library call monitor serves the transcript and the fault plan alone. Without either the
    // host records nothing, as a real host does, and the libraries skip their call reports.
    if (transcript.IsOpen() || !options.failRules.empty()) {
        monitorInstallation.emplace(libraryCalls);
    }
    for (const FailRule& rule : options.failRules) {
        faults.Add(rule);
    }
    for (const auto& [command, code] : options.safFailures) {
        saf.FailCommand(command, code);
    }
    if (!saf.StoreError().empty()) {
        Json fields;
        fields["message"] = saf.StoreError();
        transcript.Write("saf-store-error", fields);
        console << "hostsim: " << saf.StoreError() << std::endl;
    }
    SetActiveHostOperations(&services);
}

HostSession::~HostSession() {
    Shutdown();
    SetActiveHostOperations(nullptr);
}

std::string HostSession::CallerName() const {
    const AddOn* caller = addOns.Caller();
    return caller != nullptr ? caller->name : std::string();
}

void HostSession::LoadAddOn(const std::string& utf8Path) {
    auto created = std::make_unique<AddOn>();
    created->path = utf8Path;
    created->name = PathToUtf8(PathFromUtf8(utf8Path).stem());
    created->staticOwner = GS::MemoryManager::RegisterOwner((created->name + " static").c_str());
    created->owner = GS::MemoryManager::RegisterOwner(created->name.c_str());
    AddOn& addOn = addOns.Add(std::move(created));

    // What the host did before (reading the command line, say) is nobody's share of this start.
    timings.TakeShares();
    Json startTimes;
    startTimes["module"] = addOn.name;
    LoadedModule::LoadResult loaded;
    {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.staticOwner);
        const Stopwatch watch;
        loaded = LoadedModule::Load(utf8Path);
        const Nanoseconds took = watch.Elapsed();
        startTimes["loadNs"] = took;
    }
    libraryCalls.Flush();
    Json fields;
    fields["module"] = addOn.name;
    fields["path"] = utf8Path;
    fields["result"] = loaded.module ? "loaded" : "failed";
    if (!loaded.module) {
        fields["reason"] = loaded.error;
    }
    transcript.Write("module-load", fields);
    if (!loaded.module) {
        ++rejectedModules;
        console << "hostsim: cannot load " << addOn.name << " (" << utf8Path << "): " << loaded.error
                << std::endl;
        addOn.lifecycle.Unloaded();
        WriteStartTimes(startTimes);
        return;
    }
    addOn.module = std::move(loaded.module);
    if (BindAddOn(addOn, startTimes)) {
        StartAddOn(addOn, startTimes);
        WriteStartTimes(startTimes);
    }
}

void HostSession::Reject(AddOn& addOn, const std::string& reason, Json& startTimes) {
    WriteStartTimes(startTimes);
    ++rejectedModules;
    Json fields;
    fields["module"] = addOn.name;
    fields["path"] = addOn.path;
    fields["reason"] = reason;
    transcript.Write("module-rejected", fields);
    console << "hostsim: " << addOn.name << " (" << addOn.path
            << ") is not an add-on this host can use: " << reason << std::endl;
    Json stopTimes;
    Unload(addOn, stopTimes);
}

// The entry checks' time runs from finding the two exports to handing over the function table; the
// transcript's part and the calls made before the table (--entry-before-table) are left out.
bool HostSession::BindAddOn(AddOn& addOn, Json& startTimes) {
    Stopwatch watch;
    Nanoseconds checks = 0;
    auto getExports =
        reinterpret_cast<GetExportedFuncAddrsProc>(addOn.module->FindExport(GetExportedFuncAddrsName));
    auto setImports =
        reinterpret_cast<SetImportedFuncAddrsProc>(addOn.module->FindExport(SetImportedFuncAddrsName));
    if (getExports == nullptr || setImports == nullptr) {
        startTimes["checksNs"] = watch.Elapsed();
        Reject(addOn,
               std::string("the module does not export ") +
                   (getExports == nullptr ? GetExportedFuncAddrsName : SetImportedFuncAddrsName),
               startTimes);
        return false;
    }
    // A pattern, not zeros, so that the transcript shows whether the add-on wrote every byte.
    EntryPointBytes bytes;
    bytes.fill(0xA5);
    {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        getExports(bytes.data());
    }
    libraryCalls.Flush();
    EntryPointCheck check = CheckEntryPointRecord(bytes, transcript.IsOpen());
    checks += watch.Elapsed();
    if (transcript.IsOpen()) {
        Json fields;
        fields["module"] = addOn.name;
        fields.update(check.fields);
        transcript.Write("exports", fields);
    }
    if (!check.IsUsable()) {
        startTimes["checksNs"] = checks;
        Reject(addOn, check.fault, startTimes);
        return false;
    }
    addOn.entries = check.record;

    if (options.entryBeforeTable) {
        for (EntryPoint entry :
             {EntryPoint::Describe, EntryPoint::Register, EntryPoint::Start, EntryPoint::Release}) {
            CallEntry(addOn, entry, true);
        }
    }
    GSErrCode tableResult = NoError;
    watch = Stopwatch();
    {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        tableResult = setImports(table.data());
    }
    checks += watch.Elapsed();
    startTimes["checksNs"] = checks;
    libraryCalls.Flush();
    addOn.lifecycle.TableSet();
    Json entry;
    entry["module"] = addOn.name;
    entry["name"] = "SetImportedFuncAddrs";
    entry["result"] = tableResult;
    entry["resultHex"] = FormatResultCodeHex(tableResult);
    transcript.Write("entry", entry);
    return true;
}

void HostSession::StartAddOn(AddOn& addOn, Json& startTimes) {
    Nanoseconds took = 0;
    CallEntry(addOn, EntryPoint::Describe, false, &took);
    startTimes["describeNs"] = took;
    const GSErrCode registered = CallEntry(addOn, EntryPoint::Register, false, &took);
    startTimes["registerNs"] = took;
    if (registered != NoError) {
        console << "hostsim: " << addOn.name << " did not register (" << FormatResultCodeHex(registered)
                << "); it is not started" << std::endl;
        return;
    }
    const GSErrCode started = CallEntry(addOn, EntryPoint::Start, false, &took);
    startTimes["startNs"] = took;
    if (started != NoError) {
        console << "hostsim: " << addOn.name << " answered " << FormatResultCodeHex(started) << " to start"
                << std::endl;
    }
}

GSErrCode HostSession::Describe(AddOn& addOn, Json& fields) {
    GSErrCode result = 0;
    {
        // Made with empty strings, read at once and destroyed: the strings the add-on filled in are
        // freed by the host, and the add-on's block count is back where it was.
        AddOnDescriptionRecord description{};
        description.recordVersion = 1;
        {
            AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
            result = addOn.entries.describe(&description);
        }
        if (transcript.IsOpen()) {
            fields["addOnName"] = description.name.ToUTF8().Get();
            fields["addOnDescription"] = description.description.ToUTF8().Get();
        }
    }
    return result;
}

GSErrCode HostSession::CallEntry(AddOn& addOn, EntryPoint entry, bool beforeTable, Nanoseconds* took) {
    if (std::string fault = addOn.lifecycle.EntryCalled(entry); !fault.empty()) {
        services.ReportViolation(&addOn, fault);
    }
    Json fields;
    if (transcript.IsOpen()) {
        fields["module"] = addOn.name;
        fields["name"] = NameOf(entry);
    }
    GSErrCode result = NoError;
    const Stopwatch watch;
    switch (entry) {
    case EntryPoint::Describe:
        result = Describe(addOn, fields);
        break;
    case EntryPoint::Register: {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        result = addOn.entries.registerInterface(nullptr);
        break;
    }
    case EntryPoint::Start: {
        const AddOnToken token = addOns.IssueToken(addOn);
        if (transcript.IsOpen()) {
            fields["token"] = AddressText(token);
        }
        addOn.startCalled = !beforeTable;
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        result = addOn.entries.start(token);
        break;
    }
    case EntryPoint::Release: {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        result = addOn.entries.release();
        break;
    }
    }
    if (took != nullptr) {
        *took = watch.Elapsed();
    }
    libraryCalls.Flush();
    if (transcript.IsOpen()) {
        fields["result"] = result;
        fields["resultHex"] = FormatResultCodeHex(result);
        if (beforeTable) {
            fields["beforeTable"] = true;
        }
        transcript.Write("entry", fields);
    }
    if (std::string fault = addOn.lifecycle.EntryAnswered(entry, result); !fault.empty()) {
        services.ReportViolation(&addOn, fault);
    }
    return result;
}

void HostSession::PickMenu(const MenuPick& pick) {
    const Int16 handlerList = pick.deliverTo.value_or(pick.list);
    Json fields;
    fields["list"] = pick.list;
    fields["item"] = pick.item;
    if (pick.deliverTo) {
        fields["deliveredTo"] = handlerList;
    }
    const MenuBook::Handler* installed = menus.HandlerFor(handlerList);
    if (installed == nullptr) {
        fields["handled"] = false;
        fields["error"] = "no handler installed for menu list " + std::to_string(handlerList);
        transcript.Write("menu", fields);
        console << "hostsim: menu " << pick.list << ' ' << pick.item
                << ": no add-on installed a handler for menu list " << handlerList << std::endl;
        return;
    }
    // A copy: the handler may install handlers, which moves the book's entries.
    const MenuBook::Handler handler = *installed;
    AddOn& addOn = *handler.addOn;
    if (std::string fault = addOn.lifecycle.CheckMenuCommand(); !fault.empty()) {
        services.ReportViolation(&addOn, fault);
    }
    const MenuCommandRecord record{pick.list, 0, pick.item};
    GSErrCode result = NoError;
    timings.TakeShares();
    Nanoseconds total = 0;
    {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.owner);
        const Stopwatch watch;
        result = handler.handler(&record);
        total = watch.Elapsed();
    }
    const HostShares shares = timings.TakeShares();
    libraryCalls.Flush();
    if (timings.IsOpen()) {
        Json times;
        times["module"] = addOn.name;
        times["list"] = pick.list;
        times["item"] = pick.item;
        times["totalNs"] = total;
        times["saveNs"] = shares.save;
        times["launcherNs"] = shares.launcher;
        times["uiWaitNs"] = shares.uiWait;
        times["hostServicesNs"] = shares.services;
        times["hostForAddOnNs"] = shares.forAddOn;
        times["addOnNs"] = AddOnShare(total, shares);
        timings.Write("menu", times);
    }
    if (!transcript.IsOpen()) {
        return;
    }
    fields["module"] = addOn.name;
    fields["handled"] = true;
    fields["result"] = result;
    fields["resultHex"] = FormatResultCodeHex(result);
    transcript.Write("menu", fields);
    WriteAllocations(addOn, addOn.owner, addOn.name, "menu");
}

// The start's steps as far as they went, then the host's work inside them (the menus it registered,
// any other service it gave) and the rest: the add-on's own start.
void HostSession::WriteStartTimes(Json& startTimes) {
    const HostShares shares = timings.TakeShares();
    if (!timings.IsOpen()) {
        return;
    }
    Nanoseconds steps = 0;
    for (const char* step : {"loadNs", "checksNs", "describeNs", "registerNs", "startNs"}) {
        steps += startTimes.value(step, Nanoseconds{0});
    }
    startTimes["hostServicesNs"] = shares.services;
    startTimes["hostForAddOnNs"] = shares.forAddOn;
    startTimes["addOnNs"] = AddOnShare(steps, shares);
    timings.Write("module-start", startTimes);
}

void HostSession::WriteAllocations(const AddOn& addOn, GS::MemoryOwner owner, const std::string& ownerName,
                                   const char* after) {
    Json fields;
    fields["module"] = addOn.name;
    fields["owner"] = ownerName;
    fields["liveBlocks"] = GS::MemoryManager::GetLiveBlockCount(owner);
    fields["liveBytes"] = GS::MemoryManager::GetLiveByteCount(owner);
    fields["after"] = after;
    transcript.Write("allocations", fields);
}

void HostSession::Unload(AddOn& addOn, Json& stopTimes) {
    if (addOn.module == nullptr || !addOn.module->IsLoaded()) {
        return;
    }
    {
        LibraryCallRecorder::HostWork hostWork(libraryCalls);
        RSRemoveModuleImageCache(addOn.resources);
        addOn.resources = InvalidResModule;
    }
    const bool released = addOn.lifecycle.State() == LifecycleState::Released;
    LoadedModule::UnloadResult unloaded;
    {
        AddOnDirectory::CallScope scope(addOns, addOn, addOn.staticOwner);
        const Stopwatch watch;
        unloaded = addOn.module->Unload();
        const Nanoseconds took = watch.Elapsed();
        stopTimes["unloadNs"] = took;
    }
    if (timings.IsOpen()) {
        Json times;
        times["module"] = addOn.name;
        times.update(stopTimes);
        timings.Write("module-stop", times);
    }
    libraryCalls.Flush();
    debugLines.Flush();
    addOn.lifecycle.Unloaded();
    menus.Remove(addOn);
    Json fields;
    fields["module"] = addOn.name;
    fields["path"] = addOn.path;
    fields["released"] = released;
    fields["result"] = unloaded.error.empty() ? "unloaded" : "failed";
    if (!unloaded.error.empty()) {
        fields["reason"] = unloaded.error;
    }
    fields["stillMapped"] = unloaded.stillMapped;
    transcript.Write("module-unload", fields);
    WriteAllocations(addOn, addOn.owner, addOn.name, "unload");
    WriteAllocations(addOn, addOn.staticOwner, addOn.name + " static", "unload");
}

std::string HostSession::MenuItemProblem(const MenuPick& pick) const {
    for (const MenuBook::Menu& menu : menus.Menus()) {
        if (menu.record.menuListId != pick.list) {
            continue;
        }
        const auto items = static_cast<Int32>(menu.texts.size()) - 1; // after the submenu's title
        if (pick.item >= 1 && pick.item <= items) {
            return {};
        }
        return "menu " + std::to_string(pick.list) + " has no item " + std::to_string(pick.item) +
               (items > 0 ? " (it has items 1 to " + std::to_string(items) + ")" : " (it has no items)");
    }
    return {};
}

std::vector<std::string> HostSession::UnsavedChanges() const {
    std::vector<std::string> changes;
    if (!project.Path()) {
        return changes;
    }
    if (!modelSaved) {
        changes.push_back("the model from --model " + *options.model);
    }
    const std::vector<ObjectStore::Object>& now = project.Objects().All();
    const auto find = [](const std::vector<ObjectStore::Object>& list, const GS::Guid& guid) {
        return std::find_if(list.begin(), list.end(),
                            [&](const ObjectStore::Object& object) { return object.guid == guid; });
    };
    for (const ObjectStore::Object& object : now) {
        const auto before = find(savedObjects, object.guid);
        const std::string name = "add-on object \"" + std::string(object.name.ToUTF8().Get()) + "\"";
        if (before == savedObjects.end()) {
            changes.push_back(name + " (made)");
        } else if (!(before->name == object.name) || before->content != object.content) {
            changes.push_back(name + " (changed)");
        }
    }
    for (const ObjectStore::Object& object : savedObjects) {
        if (find(now, object.guid) == now.end()) {
            changes.push_back("add-on object \"" + std::string(object.name.ToUTF8().Get()) + "\" (deleted)");
        }
    }
    return changes;
}

std::string HostSession::MenuSummary() const {
    std::string text;
    for (const MenuBook::Menu& menu : menus.Menus()) {
        for (std::size_t item = 1; item < menu.texts.size(); ++item) {
            text += "  menu " + std::to_string(menu.record.menuListId) + ' ' + std::to_string(item) + "   " +
                    VisibleMenuText(menu.texts[item]) + "   (" + menu.addOn->name + ")\n";
        }
    }
    if (text.empty()) {
        text = addOns.All().empty()
                   ? "  no add-on is loaded: name the modules on hostsim's command line, or --addons DIR\n"
                   : "  no add-on registered a menu: an add-on registers its menus when it starts, and may\n"
                     "  decide to register none (the VELD Engineer Connection registers its menu only when\n"
                     "  the registry of the data folder names an installed VELD Engineer: see\n"
                     "  'hostsim registry --help')\n";
    }
    return text;
}

std::string HostSession::SaveProject() {
    const std::optional<std::string> replaced = project.DigestOnDisk();
    const Result<> saved = project.Save();
    Json fields;
    fields["path"] = project.Path().value_or("");
    fields["objects"] = project.Objects().All().size();
    fields["result"] = saved ? "saved" : "failed";
    if (!saved) {
        fields["reason"] = saved.Error();
    } else {
        // A save only ever replaces the version it read, so these chain the saves of one file.
        fields["replaced"] = replaced.value_or("");
        fields["digest"] = project.DigestOnDisk().value_or("");
    }
    transcript.Write("project-save", fields);
    if (!saved) {
        return "\"save\" failed: " + saved.Error();
    }
    savedObjects = project.Objects().All();
    modelSaved = true;
    console << "hostsim: saved the project " << *project.Path() << " (the model and " << savedObjects.size()
            << " add-on object" << (savedObjects.size() == 1 ? "" : "s") << ")" << std::endl;
    return {};
}

// A bracket the add-on opened and never closed is a fault of the add-on, like a block it never freed.
void HostSession::ReportOpenSafHandles() {
    if (safHandlesReported) {
        return;
    }
    safHandlesReported = true;
    const std::vector<SAF::SafAddOn::OpenHandle> open = saf.OpenHandles();
    Json handles = Json::array();
    for (const auto& handle : open) {
        handles.push_back({{"handle", AddressText(handle.handle)}, {"openedBy", handle.openedBy}});
    }
    Json fields;
    fields["count"] = open.size();
    fields["handles"] = std::move(handles);
    transcript.Write("saf-open-handles", fields);
    for (const auto& handle : open) {
        const AddOn* opener = nullptr;
        for (const auto& addOn : addOns.All()) {
            if (addOn->name == handle.openedBy) {
                opener = addOn.get();
            }
        }
        services.ReportViolation(opener, "the SAF data handle " + AddressText(handle.handle) +
                                             " from 'LADA' was never given back with 'FADA'");
    }
}

void HostSession::Shutdown() {
    const auto& all = addOns.All();
    std::map<const AddOn*, Json> stopTimes;
    for (auto addOn = all.rbegin(); addOn != all.rend(); ++addOn) {
        if ((*addOn)->startCalled && (*addOn)->lifecycle.State() == LifecycleState::Started &&
            !options.noRelease) {
            Nanoseconds took = 0;
            CallEntry(**addOn, EntryPoint::Release, false, &took);
            stopTimes[addOn->get()]["releaseNs"] = took;
            menus.Remove(**addOn);
        }
    }
    ReportOpenSafHandles();
    for (auto addOn = all.rbegin(); addOn != all.rend(); ++addOn) {
        Unload(**addOn, stopTimes[addOn->get()]);
    }
    debugLines.Flush();
}

} // namespace HostSim
