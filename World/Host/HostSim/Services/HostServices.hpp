#pragma once

#include "Record/LibraryCallRecorder.hpp"
#include "Record/RunTimings.hpp"
#include "Record/Transcript.hpp"
#include "SafAddOn.hpp"
#include "Services/FaultPlan.hpp"
#include "Services/HostTable.hpp"
#include "Services/MenuBook.hpp"
#include "Services/ObjectStore.hpp"
#include "Services/ProjectDocument.hpp"
#include "Session/AddOnDirectory.hpp"

#include "SaveRecords.hpp"

#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace HostSim {

// Everything the host's table operations work with, owned by the run.
struct HostWorld {
    Transcript& transcript;
    FaultPlan& faults;
    AddOnDirectory& addOns;
    MenuBook& menus;
    ObjectStore& objects;
    LibraryCallRecorder& libraryCalls;
    std::map<Int32, std::string>& specialFolders; // folder number -> UTF-8 path
    std::ostream& console;
    SAF::SafAddOn* saf = nullptr;             // where command calls to the SAF add-on go; null: nowhere
    const ProjectDocument* project = nullptr; // whose model 'SAVE' writes; null: 'SAVE' is not offered
    RunTimings* timings = nullptr;            // where the time of 'SAVE' is added; null: not measured
    bool showProgress = false;                // a progress line follows 'SAVE' on standard error
};

// The host's side of the function table. Each operation runs with the host's memory owner current,
// records one "host-call" event (operation, caller, readable arguments, result), checks the caller
// against its lifecycle (a "lifecycle-violation" event for each fault) and honours the fault plan.
class HostServices : public HostOperations {
public:
    explicit HostServices(HostWorld world);

    GSErrCode MenuRegister(const MenuRegistrationRecord* record) override;
    GSErrCode MenuHandlerInstall(AddOnToken token, Int16 menuListId, MenuCommandHandlerProc handler) override;
    GSErrCode Environment(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) override;
    GSErrCode Automate(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) override;
    GSErrCode CommandCall(AddOnToken token, const AddOnModuleId* target, UInt32 command, UInt32 version,
                          void* parameter, void* result, bool silent) override;
    GSErrCode ObjectCreate(AddOnToken token, const GS::UniString* name, GSHandle* content,
                           GS::Guid* guid) override;
    GSErrCode ObjectRead(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                         GSHandle* content) override;
    GSErrCode ObjectModify(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                           GSHandle* content) override;
    GSErrCode ObjectFind(AddOnToken token, const GS::UniString* name, GS::Guid* guid) override;

    // Records a lifecycle fault of `addOn` (null: not known) and counts it.
    void ReportViolation(const AddOn* addOn, const std::string& message);
    unsigned ViolationCount() const { return violations; }

    // The texts of string list `listId` of the add-on's module, read with the host's own resource view.
    std::vector<std::string> ReadStringList(AddOn& addOn, Int16 listId);

private:
    class Call;

    GSErrCode AnswerAutomate(AddOnToken token, UInt32 request, void* par1, void* par2, void* par3);
    // 'SAVE' after the call was recorded and allowed: writes the "save" event and answers the code.
    GSErrCode SaveRequested(const std::string& module, const SaveFileRecord* file,
                            const SafSaveParameterRecord* parameters);

    HostWorld world;
    unsigned violations = 0;
};

} // namespace HostSim
