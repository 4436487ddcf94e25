#include "Array.hpp"
#include "Channels.hpp"
#include "FixtureEntryPoints.hpp"
#include "Handles.hpp"

// A module that talks to the host's SAF add-on and to the project's add-on objects through the table,
// so that scenarios can watch the host's side of both without the add-on's dialogs. Menu 100:
// - item 1: one balanced bracket, LADA GTRS GSTD FADA; answers 0 when all four succeeded
// - item 2: SSTD with every name GTRS delivers, in one bracket; answers the number of names refused
// - item 3: LADA without FADA, the fault a host must report at exit
// - item 4: writes "Load-Bearing Elements Only" into the object VELDExportTranslatorName as the
//   add-on does (Find, then Create or Modify), serialized through the host's channel
// - item 5: reads that object back; answers 0 when it holds exactly that name, 1 when there is none,
//   2 when it holds something else
// - item 6: the details step in one bracket, LADA ISID GSTD FADA; answers 0 when all four succeeded
namespace {

UInt8 table[HostFunctionTableSize];
AddOnToken ownToken = nullptr;
constexpr AddOnModuleId SafModule{0x47242F2Eu, 0x8D897D96u};

template <typename Proc>
Proc Slot(std::size_t offset) {
    Proc proc = nullptr;
    std::memcpy(&proc, table + offset, sizeof proc);
    return proc;
}

GSErrCode Saf(const char (&command)[5], void* parameter, void* result) {
    const UInt32 code = FourLetterCode(command);
    const bool bracket = code == FourLetterCode("LADA") || code == FourLetterCode("FADA");
    return Slot<HostCommandCallProc>(HostSlot::CommandCall)(ownToken, &SafModule, code, bracket ? 12345 : 1,
                                                            parameter, result, true);
}

GSErrCode BalancedBracket() {
    void* data = nullptr;
    GSErrCode result = Saf("LADA", &data, nullptr);
    if (result != NoError) {
        return result;
    }
    GS::Array<GS::UniString> names;
    GS::UniString current;
    result = Saf("GTRS", &names, data);
    if (result == NoError) {
        result = Saf("GSTD", data, &current);
    }
    const GSErrCode closed = Saf("FADA", &data, nullptr);
    return result != NoError ? result : closed;
}

GSErrCode DetailsStep() {
    void* data = nullptr;
    GSErrCode result = Saf("LADA", &data, nullptr);
    if (result != NoError) {
        return result;
    }
    result = Saf("ISID", nullptr, &data);
    GS::UniString current;
    if (result == NoError) {
        result = Saf("GSTD", data, &current);
    }
    const GSErrCode closed = Saf("FADA", &data, nullptr);
    return result != NoError ? result : closed;
}

GSErrCode SelectEveryName() {
    void* data = nullptr;
    if (GSErrCode opened = Saf("LADA", &data, nullptr); opened != NoError) {
        return opened;
    }
    GS::Array<GS::UniString> names;
    GSErrCode refused = 0;
    if (Saf("GTRS", &names, data) == NoError) {
        for (GS::UniString& name : names) {
            refused += Saf("SSTD", data, &name) == NoError ? 0 : 1;
        }
    }
    static_cast<void>(Saf("FADA", &data, nullptr));
    return refused;
}

// Made afresh each time: a static string would be a block of the module's left after the command.
GS::UniString ObjectName() {
    return GS::UniString("VELDExportTranslatorName");
}

GSErrCode WriteObject() {
    const GS::UniString objectName = ObjectName();
    GS::Guid guid;
    if (GSErrCode found = Slot<HostObjectFindProc>(HostSlot::ObjectFind)(ownToken, &objectName, &guid);
        found != NoError) {
        return found;
    }
    GS::MemoryOChannel32 channel(0, 0, GS::StandardAllocation);
    static_cast<void>(channel.Write(GS::UniString("Load-Bearing Elements Only")));
    GSHandle content = nullptr;
    BMPtrToHandle(channel.GetDestination(GS::RetainOwnership), &content, channel.GetDataSize());
    const GSErrCode written =
        guid.IsNull()
            ? Slot<HostObjectCreateProc>(HostSlot::ObjectCreate)(ownToken, &objectName, &content, &guid)
            : Slot<HostObjectModifyProc>(HostSlot::ObjectModify)(ownToken, &guid, &objectName, &content);
    BMKillHandle(&content);
    return written;
}

GSErrCode ReadObject() {
    const GS::UniString objectName = ObjectName();
    GS::Guid guid;
    if (Slot<HostObjectFindProc>(HostSlot::ObjectFind)(ownToken, &objectName, &guid) != NoError ||
        guid.IsNull()) {
        return 1;
    }
    GS::UniString name;
    GSHandle content = nullptr;
    if (Slot<HostObjectReadProc>(HostSlot::ObjectRead)(ownToken, &guid, &name, &content) != NoError) {
        return 1;
    }
    GS::UniString text;
    {
        GS::MemoryIChannel32 channel(*content, BMGetHandleSize(content), GS::RetainOwnership, nullptr, 0,
                                     GS::StandardAllocation);
        static_cast<void>(channel.Read(text));
    }
    BMKillHandle(&content);
    return text.IsEqual(GS::UniString("Load-Bearing Elements Only")) ? 0 : 2;
}

GSErrCode HOST_CALL Handler(const MenuCommandRecord* command) {
    switch (command->itemIndex) {
    case 1:
        return BalancedBracket();
    case 2:
        return SelectEveryName();
    case 3: {
        void* data = nullptr;
        return Saf("LADA", &data, nullptr);
    }
    case 4:
        return WriteObject();
    case 5:
        return ReadObject();
    case 6:
        return DetailsStep();
    default:
        return NoError;
    }
}

GSErrCode HOST_CALL Start(AddOnToken token) {
    ownToken = token;
    return Slot<HostMenuHandlerInstallProc>(HostSlot::MenuHandlerInstall)(ownToken, 100, Handler);
}

GSErrCode HOST_CALL Release() {
    ownToken = nullptr;
    return NoError;
}

} // namespace

ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record) {
    Fixture::WriteRecord(record, EntryPointRecordVersion, Fixture::QuietDescribe, Fixture::QuietRegister,
                         Start, Release);
}

ADDON_EXPORT Int32 HOST_CALL SetImportedFuncAddrs(const void* hostTable) {
    std::memcpy(table, hostTable, sizeof table);
    return 0;
}
