#pragma once

#include "AddOnInterface.hpp"
#include "Services/TableOperation.hpp"

#include <array>
#include <set>

namespace HostSim {

// What the function table's slots lead to. The table holds plain functions (an add-on passes no
// context), so they reach the one active implementation through SetActiveHostOperations.
class HostOperations {
public:
    virtual ~HostOperations() = default;
    virtual GSErrCode MenuRegister(const MenuRegistrationRecord* record) = 0;
    virtual GSErrCode MenuHandlerInstall(AddOnToken token, Int16 menuListId,
                                         MenuCommandHandlerProc handler) = 0;
    virtual GSErrCode Environment(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) = 0;
    virtual GSErrCode Automate(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) = 0;
    virtual GSErrCode CommandCall(AddOnToken token, const AddOnModuleId* target, UInt32 command,
                                  UInt32 version, void* parameter, void* result, bool silent) = 0;
    virtual GSErrCode ObjectCreate(AddOnToken token, const GS::UniString* name, GSHandle* content,
                                   GS::Guid* guid) = 0;
    virtual GSErrCode ObjectRead(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                                 GSHandle* content) = 0;
    virtual GSErrCode ObjectModify(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                                   GSHandle* content) = 0;
    virtual GSErrCode ObjectFind(AddOnToken token, const GS::UniString* name, GS::Guid* guid) = 0;
};

// Null detaches; a slot called while nothing is attached answers GSErr::Generic.
void SetActiveHostOperations(HostOperations* operations);

// The 5000-byte table handed to SetImportedFuncAddrs: the nine slots at their offsets, except those in
// `emptySlots`, and every other slot null.
using HostFunctionTableBytes = std::array<UInt8, HostFunctionTableSize>;
HostFunctionTableBytes BuildHostFunctionTable(const std::set<TableOperation>& emptySlots);

} // namespace HostSim
