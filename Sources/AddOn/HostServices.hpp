#pragma once

#include "AddOnInterface.hpp"
#include "GSTypes.hpp"
#include "Guid.hpp"
#include "UniString.hpp"

// The module's own copy of the host function table; later changes to the host's table are not seen.
void CopyHostFunctionTable(const void* table);

// The host's token for this add-on: null before start, after release and after unload. Start sets it
// and release clears it; every host call below passes it.
AddOnToken GetAddOnToken();
void SetAddOnToken(AddOnToken token);

// One stub per host table operation. Each answers GSErr::MissingSlot, calling nothing and touching no
// output, when the host left its slot empty; otherwise it passes the add-on token (null before start
// and after release) and its arguments to the host and returns the host's result unchanged.

// No token: the host calls register before start.
GSErrCode HostMenuRegister(Int16 menuListId, Int16 promptListId, Int32 menuCode, Int32 flags);
GSErrCode HostMenuHandlerInstall(Int16 menuListId, MenuCommandHandlerProc handler);
GSErrCode HostEnvironment(Int32 code, void* par1, void* par2, void* par3);
GSErrCode HostAutomate(Int32 code, void* par1, void* par2, void* par3);
// `silent` is always true in the add-on's calls: the SAF add-on reports nothing to the user itself.
GSErrCode HostCommandCall(const AddOnModuleId* target, UInt32 command, UInt32 version, void* parameter,
                          void* result, bool silent);
GSErrCode HostObjectCreate(const GS::UniString* name, GSHandle* content, GS::Guid* guid);
GSErrCode HostObjectRead(const GS::Guid* guid, GS::UniString* name, GSHandle* content);
GSErrCode HostObjectModify(const GS::Guid* guid, const GS::UniString* name, GSHandle* content);
GSErrCode HostObjectFind(const GS::UniString* name, GS::Guid* guid);
