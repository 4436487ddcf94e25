#include "FixtureEntryPoints.hpp"
#include "MemoryManager.hpp"

#include <cstdint>

// A module that breaks the host's rules on purpose, one rule per place, so that each of the host's
// checks is seen to fire:
// - start installs a handler with a token the host never gave out, and registers a menu outside register;
// - menu 100 item 1 leaves a block allocated, item 2 frees it again.
namespace {

UInt8 table[HostFunctionTableSize];
AddOnToken ownToken = nullptr;
void* leakedBlock = nullptr;

template <typename Proc>
Proc Slot(std::size_t offset) {
    Proc proc = nullptr;
    std::memcpy(&proc, table + offset, sizeof proc);
    return proc;
}

GSErrCode HOST_CALL Handler(const MenuCommandRecord* command) {
    if (command->itemIndex == 1 && leakedBlock == nullptr) {
        leakedBlock = GS::MemoryManager::Allocate(24);
    } else if (command->itemIndex == 2) {
        GS::MemoryManager::Free(leakedBlock);
        leakedBlock = nullptr;
    }
    return NoError;
}

GSErrCode HOST_CALL Start(AddOnToken token) {
    ownToken = token;
    auto install = Slot<HostMenuHandlerInstallProc>(HostSlot::MenuHandlerInstall);
    const auto forged = reinterpret_cast<AddOnToken>(reinterpret_cast<std::uintptr_t>(token) + 1);
    install(forged, 100, Handler);
    MenuRegistrationRecord menu{};
    menu.menuListId = 100;
    menu.promptListId = 101;
    Slot<HostMenuRegisterProc>(HostSlot::MenuRegister)(&menu);
    return install(ownToken, 100, Handler);
}

} // namespace

ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record) {
    Fixture::WriteRecord(record, EntryPointRecordVersion, Fixture::QuietDescribe, Fixture::QuietRegister,
                         Start, Fixture::QuietRelease);
}

ADDON_EXPORT Int32 HOST_CALL SetImportedFuncAddrs(const void* hostTable) {
    std::memcpy(table, hostTable, sizeof table);
    return 0;
}
