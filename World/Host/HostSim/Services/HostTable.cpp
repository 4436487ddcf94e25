#include "Services/HostTable.hpp"

#include "CallTimer.hpp"
#include "Record/RunTimings.hpp"

#include <cstring>
#include <new>

namespace HostSim {

namespace {

HostOperations* activeOperations = nullptr;

// No exception may unwind into the add-on's frames, which know nothing of C++ exceptions across the
// table; memory running out inside an operation is that operation's failure. Every answer is the
// host's work done for the add-on: the call timer sees it, so that it is not counted as the add-on's.
template <class Operation>
GSErrCode Answer(Operation&& operation) {
    const GS::TimedCall timed(HostServiceOperation);
    if (activeOperations == nullptr) {
        return GSErr::Generic;
    }
    try {
        return operation(*activeOperations);
    } catch (const std::bad_alloc&) {
        return GSErr::OutOfMemory;
    }
}

GSErrCode HOST_CALL MenuRegisterSlot(const MenuRegistrationRecord* record) {
    return Answer([&](HostOperations& operations) { return operations.MenuRegister(record); });
}

GSErrCode HOST_CALL MenuHandlerInstallSlot(AddOnToken token, Int16 menuListId,
                                           MenuCommandHandlerProc handler) {
    return Answer([&](HostOperations& operations) {
        return operations.MenuHandlerInstall(token, menuListId, handler);
    });
}

GSErrCode HOST_CALL EnvironmentSlot(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    return Answer(
        [&](HostOperations& operations) { return operations.Environment(token, code, par1, par2, par3); });
}

GSErrCode HOST_CALL AutomateSlot(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    return Answer(
        [&](HostOperations& operations) { return operations.Automate(token, code, par1, par2, par3); });
}

GSErrCode HOST_CALL CommandCallSlot(AddOnToken token, const AddOnModuleId* target, UInt32 command,
                                    UInt32 version, void* parameter, void* result, bool silent) {
    return Answer([&](HostOperations& operations) {
        return operations.CommandCall(token, target, command, version, parameter, result, silent);
    });
}

GSErrCode HOST_CALL ObjectCreateSlot(AddOnToken token, const GS::UniString* name, GSHandle* content,
                                     GS::Guid* guid) {
    return Answer(
        [&](HostOperations& operations) { return operations.ObjectCreate(token, name, content, guid); });
}

GSErrCode HOST_CALL ObjectReadSlot(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                                   GSHandle* content) {
    return Answer(
        [&](HostOperations& operations) { return operations.ObjectRead(token, guid, name, content); });
}

GSErrCode HOST_CALL ObjectModifySlot(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                                     GSHandle* content) {
    return Answer(
        [&](HostOperations& operations) { return operations.ObjectModify(token, guid, name, content); });
}

GSErrCode HOST_CALL ObjectFindSlot(AddOnToken token, const GS::UniString* name, GS::Guid* guid) {
    return Answer([&](HostOperations& operations) { return operations.ObjectFind(token, name, guid); });
}

// The slots are checked against the agreed signatures here, where a mismatch is a compile error.
constexpr HostMenuRegisterProc menuRegister = MenuRegisterSlot;
constexpr HostMenuHandlerInstallProc menuHandlerInstall = MenuHandlerInstallSlot;
constexpr HostEnvironmentProc environment = EnvironmentSlot;
constexpr HostAutomateProc automate = AutomateSlot;
constexpr HostCommandCallProc commandCall = CommandCallSlot;
constexpr HostObjectCreateProc objectCreate = ObjectCreateSlot;
constexpr HostObjectReadProc objectRead = ObjectReadSlot;
constexpr HostObjectModifyProc objectModify = ObjectModifySlot;
constexpr HostObjectFindProc objectFind = ObjectFindSlot;

template <typename Proc>
void PutSlot(HostFunctionTableBytes& table, std::size_t offset, Proc function) {
    static_assert(sizeof(Proc) == 8);
    std::memcpy(table.data() + offset, &function, sizeof function);
}

} // namespace

void SetActiveHostOperations(HostOperations* operations) {
    activeOperations = operations;
}

HostFunctionTableBytes BuildHostFunctionTable(const std::set<TableOperation>& emptySlots) {
    HostFunctionTableBytes table{};
    auto offer = [&](TableOperation operation, auto function) {
        if (!emptySlots.contains(operation)) {
            PutSlot(table, InfoOf(operation).slotOffset, function);
        }
    };
    offer(TableOperation::MenuRegister, menuRegister);
    offer(TableOperation::MenuHandlerInstall, menuHandlerInstall);
    offer(TableOperation::Environment, environment);
    offer(TableOperation::Automate, automate);
    offer(TableOperation::CommandCall, commandCall);
    offer(TableOperation::ObjectCreate, objectCreate);
    offer(TableOperation::ObjectRead, objectRead);
    offer(TableOperation::ObjectModify, objectModify);
    offer(TableOperation::ObjectFind, objectFind);
    return table;
}

} // namespace HostSim
