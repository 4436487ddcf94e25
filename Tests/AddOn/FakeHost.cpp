#include "FakeHost.hpp"

#include <cstring>
#include <stdexcept>

namespace {
FakeHost* current = nullptr;

GSErrCode HOST_CALL MenuRegister(const MenuRegistrationRecord* record) {
    HostCall call;
    call.slot = FakeSlot::MenuRegister;
    const auto* bytes = reinterpret_cast<const unsigned char*>(record);
    call.menuRecord.assign(bytes, bytes + sizeof(MenuRegistrationRecord));
    return FakeHost::Current().Record(std::move(call));
}

GSErrCode HOST_CALL MenuHandlerInstall(AddOnToken token, Int16 menuListId, MenuCommandHandlerProc handler) {
    return FakeHost::Current().Record(
        {FakeSlot::MenuHandlerInstall, token, {AsArgument(menuListId), AsArgument(handler)}, {}});
}

GSErrCode HOST_CALL Environment(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    return FakeHost::Current().Record(
        {FakeSlot::Environment,
         token,
         {AsArgument(code), AsArgument(par1), AsArgument(par2), AsArgument(par3)},
         {}});
}

GSErrCode HOST_CALL Automate(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    return FakeHost::Current().Record(
        {FakeSlot::Automate,
         token,
         {AsArgument(code), AsArgument(par1), AsArgument(par2), AsArgument(par3)},
         {}});
}

GSErrCode HOST_CALL CommandCall(AddOnToken token, const AddOnModuleId* target, UInt32 command, UInt32 version,
                                void* parameter, void* result, bool silent) {
    return FakeHost::Current().Record({FakeSlot::CommandCall,
                                       token,
                                       {AsArgument(target), AsArgument(command), AsArgument(version),
                                        AsArgument(parameter), AsArgument(result), AsArgument(silent)},
                                       {}});
}

GSErrCode HOST_CALL ObjectCreate(AddOnToken token, const GS::UniString* name, GSHandle* content,
                                 GS::Guid* guid) {
    return FakeHost::Current().Record(
        {FakeSlot::ObjectCreate, token, {AsArgument(name), AsArgument(content), AsArgument(guid)}, {}});
}

GSErrCode HOST_CALL ObjectRead(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                               GSHandle* content) {
    return FakeHost::Current().Record(
        {FakeSlot::ObjectRead, token, {AsArgument(guid), AsArgument(name), AsArgument(content)}, {}});
}

GSErrCode HOST_CALL ObjectModify(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                                 GSHandle* content) {
    return FakeHost::Current().Record(
        {FakeSlot::ObjectModify, token, {AsArgument(guid), AsArgument(name), AsArgument(content)}, {}});
}

GSErrCode HOST_CALL ObjectFind(AddOnToken token, const GS::UniString* name, GS::Guid* guid) {
    return FakeHost::Current().Record(
        {FakeSlot::ObjectFind, token, {AsArgument(name), AsArgument(guid)}, {}});
}

template <typename Proc>
void Install(std::array<void*, HostFunctionSlotCount>& slots, std::size_t offset, Proc proc) {
    static_assert(sizeof(proc) == sizeof(void*));
    std::memcpy(&slots[offset / sizeof(void*)], &proc, sizeof(proc));
}
} // namespace

FakeHost::FakeHost() {
    if (current != nullptr) {
        throw std::logic_error("one fake host at a time");
    }
    current = this;
    Install(slots, FakeSlot::MenuRegister, &MenuRegister);
    Install(slots, FakeSlot::MenuHandlerInstall, &MenuHandlerInstall);
    Install(slots, FakeSlot::Environment, &Environment);
    Install(slots, FakeSlot::Automate, &Automate);
    Install(slots, FakeSlot::CommandCall, &CommandCall);
    Install(slots, FakeSlot::ObjectCreate, &ObjectCreate);
    Install(slots, FakeSlot::ObjectRead, &ObjectRead);
    Install(slots, FakeSlot::ObjectModify, &ObjectModify);
    Install(slots, FakeSlot::ObjectFind, &ObjectFind);
}

FakeHost::~FakeHost() {
    current = nullptr;
}

void FakeHost::EmptySlot(std::size_t offset) {
    slots[offset / sizeof(void*)] = nullptr;
}

FakeHost& FakeHost::Current() {
    if (current == nullptr) {
        throw std::logic_error("a host table slot was called with no fake host alive");
    }
    return *current;
}

GSErrCode FakeHost::Record(HostCall call) {
    const auto answer = results.find(call.slot);
    const auto responder = responders.find(call.slot);
    calls.push_back(std::move(call));
    if (responder != responders.end()) {
        // A copy: the responder may record further calls, which moves the recorded ones.
        const HostCall recorded = calls.back();
        return responder->second(recorded);
    }
    return answer == results.end() ? NoError : answer->second;
}
