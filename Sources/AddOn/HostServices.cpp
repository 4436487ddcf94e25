#include "HostServices.hpp"

#include <cstring>

namespace {
unsigned char hostFunctionTable[HostFunctionTableSize] = {};
AddOnToken addOnToken = nullptr;

// A slot is 8 bytes at `offset`; the table may sit at any alignment, so it is read byte by byte.
template <typename Proc>
Proc ReadSlot(std::size_t offset) {
    Proc proc = nullptr;
    static_assert(sizeof(proc) == 8);
    std::memcpy(&proc, hostFunctionTable + offset, sizeof(proc));
    return proc;
}
} // namespace

void CopyHostFunctionTable(const void* table) {
    std::memcpy(hostFunctionTable, table, HostFunctionTableSize);
}

AddOnToken GetAddOnToken() {
    return addOnToken;
}

void SetAddOnToken(AddOnToken token) {
    addOnToken = token;
}

GSErrCode HostMenuRegister(Int16 menuListId, Int16 promptListId, Int32 menuCode, Int32 flags) {
    const auto proc = ReadSlot<HostMenuRegisterProc>(HostSlot::MenuRegister);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    MenuRegistrationRecord record;
    std::memset(&record, 0, sizeof(record));
    record.menuListId = menuListId;
    record.promptListId = promptListId;
    record.menuCode = menuCode;
    record.flags = flags;
    return proc(&record);
}

GSErrCode HostMenuHandlerInstall(Int16 menuListId, MenuCommandHandlerProc handler) {
    const auto proc = ReadSlot<HostMenuHandlerInstallProc>(HostSlot::MenuHandlerInstall);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), menuListId, handler);
}

GSErrCode HostEnvironment(Int32 code, void* par1, void* par2, void* par3) {
    const auto proc = ReadSlot<HostEnvironmentProc>(HostSlot::Environment);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), code, par1, par2, par3);
}

GSErrCode HostAutomate(Int32 code, void* par1, void* par2, void* par3) {
    const auto proc = ReadSlot<HostAutomateProc>(HostSlot::Automate);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), code, par1, par2, par3);
}

GSErrCode HostCommandCall(const AddOnModuleId* target, UInt32 command, UInt32 version, void* parameter,
                          void* result, bool silent) {
    const auto proc = ReadSlot<HostCommandCallProc>(HostSlot::CommandCall);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), target, command, version, parameter, result, silent);
}

GSErrCode HostObjectCreate(const GS::UniString* name, GSHandle* content, GS::Guid* guid) {
    const auto proc = ReadSlot<HostObjectCreateProc>(HostSlot::ObjectCreate);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), name, content, guid);
}

GSErrCode HostObjectRead(const GS::Guid* guid, GS::UniString* name, GSHandle* content) {
    const auto proc = ReadSlot<HostObjectReadProc>(HostSlot::ObjectRead);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), guid, name, content);
}

GSErrCode HostObjectModify(const GS::Guid* guid, const GS::UniString* name, GSHandle* content) {
    const auto proc = ReadSlot<HostObjectModifyProc>(HostSlot::ObjectModify);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), guid, name, content);
}

GSErrCode HostObjectFind(const GS::UniString* name, GS::Guid* guid) {
    const auto proc = ReadSlot<HostObjectFindProc>(HostSlot::ObjectFind);
    if (proc == nullptr) {
        return GSErr::MissingSlot;
    }
    return proc(GetAddOnToken(), name, guid);
}
