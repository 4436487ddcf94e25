#include "AddOnMain.hpp"

#include "HostServices.hpp"
#include "ModelHandOff/AnalysisApplicationLocator.hpp"
#include "ModelHandOff/OpenInAnalysisApplication.hpp"
#include "TranslatorSettings/ExportSettingsCommand.hpp"
#include "UtilityFunctions.hpp"

#include "DebugOutput.hpp"
#include "Handles.hpp"
#include "RS.hpp"
#include "XercescInitializer.hpp"

#include <cstddef>
#include <cstring>

// Module constants. C++ builds them in this order before the load step and destroys them in reverse
// after the unload step; the XML subsystem stays initialised for the module's whole life.
const GS::UniString TranslatorObjectName("VELDExportTranslatorName", CC_Default);
const GSXML::XercescInitializer xmlSubsystem;
const GS::UniString WorkbookFileName("ACToVELDEngineer.xlsx", CC_Default);
const GS::UniString InfoDialogKey("VELDEXPORTERINVOKEINFORMATIONDIALOG", CC_Default);

namespace {
constexpr GSResID DescriptionListId = 32000;
constexpr Int16 MenuListId = 32500;
constexpr Int16 MenuPromptListId = 32600;
constexpr Int32 InteroperabilityMenuCode = 18;

bool hostTablePresent = false;
// The add-on token lives in HostServices, beside the host calls that pass it.
WCHAR modulePath[MAX_PATH] = {};

void LoadModule(HINSTANCE instance) {
    static_cast<void>(RegisterWindowMessageW(W32TEXT("commdlg_FileNameOK")));
    static_cast<void>(GetModuleFileNameW(instance, modulePath, MAX_PATH));
    SetResourceModule(RSInitModuleImageCache(instance));
}

void UnloadModule() {
    if (GetResourceModule() != InvalidResModule) {
        RSRemoveModuleImageCache(GetResourceModule());
    }
    SetResourceModule(InvalidResModule);
    if (GetAddOnToken() != nullptr) {
        // The host unloads an add-on that it started but never released.
        DBPrintf("Abnormal add-on termination (\"%s\")", modulePath);
        DBPrintf("\n");
        SetAddOnToken(nullptr);
    }
}

Int32 Describe(AddOnDescriptionRecord* description) {
    // The host's diagnostics know these two lookups as lines 56 and 57 of this file: keep them there.
    // clang-format off
    RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, &description->name, DescriptionListId, 1, GetResourceModule(), RST_Default);
    RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, &description->description, DescriptionListId, 2, GetResourceModule(), RST_Default);
    // clang-format on
    return 1;
}

// The menu is offered only while the analysis application is installed, as the host finds it when it
// registers the add-on.
GSErrCode RegisterInterface() {
    const bool installed = GetAnalysisApplicationLocation().has_value();
    if (!installed) {
        return NoError;
    }
    return HostMenuRegister(MenuListId, MenuPromptListId, InteroperabilityMenuCode, 0);
}

// The handler goes in even when register offered no menu.
GSErrCode Initialize() {
    return HostMenuHandlerInstall(MenuListId, MenuCommandHandler);
}

GSErrCode FreeData() {
    return NoError;
}

template <typename T>
void WriteRecordField(void* record, std::size_t offset, const T& value) {
    std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof(value));
}
} // namespace

void HOST_CALL GetExportedFuncAddrs(void* record) {
    BNFillMemory(record, static_cast<GSSize>(EntryPointRecordSize), 0);
    // The host's buffer has no promised alignment: each field is copied in at its offset.
    WriteRecordField(record, offsetof(EntryPointRecord, interfaceVersion), EntryPointRecordVersion);
    WriteRecordField(record, offsetof(EntryPointRecord, describe), AddOnDescribeProc{AddOnDescribe});
    WriteRecordField(record, offsetof(EntryPointRecord, registerInterface), AddOnRegisterProc{AddOnRegister});
    WriteRecordField(record, offsetof(EntryPointRecord, start), AddOnStartProc{AddOnStart});
    WriteRecordField(record, offsetof(EntryPointRecord, release), AddOnReleaseProc{AddOnRelease});
    WriteRecordField(record, offsetof(EntryPointRecord, platformCode), EntryPointPlatformCode);
}

Int32 HOST_CALL SetImportedFuncAddrs(const void* table) {
    CopyHostFunctionTable(table);
    hostTablePresent = true;
    return NoError;
}

Int32 HOST_CALL AddOnDescribe(AddOnDescriptionRecord* description) {
    if (!hostTablePresent) {
        return 0;
    }
    return Describe(description);
}

GSErrCode HOST_CALL AddOnRegister(void* /*unused*/) {
    if (!hostTablePresent) {
        return GSErr::NotInitialised;
    }
    return RegisterInterface();
}

GSErrCode HOST_CALL AddOnStart(AddOnToken token) {
    if (!hostTablePresent) {
        return GSErr::NotInitialised;
    }
    SetAddOnToken(token);
    return Initialize();
}

GSErrCode HOST_CALL AddOnRelease() {
    if (!hostTablePresent) {
        return GSErr::NotInitialised;
    }
    static_cast<void>(FreeData());
    SetAddOnToken(nullptr);
    return NoError;
}

namespace {
constexpr Int32 OpenInAnalysisApplicationItem = 1;
constexpr Int32 ExportSettingsItem = 2;
} // namespace

GSErrCode HOST_CALL MenuCommandHandler(const MenuCommandRecord* command) {
    if (command->menuListId != MenuListId) {
        return NoError;
    }
    switch (command->itemIndex) {
    case OpenInAnalysisApplicationItem:
        static_cast<void>(OpenInAnalysisApplication());
        break;
    case ExportSettingsItem:
        static_cast<void>(RunExportSettingsDialog());
        break;
    default:
        break;
    }
    return NoError;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        LoadModule(instance);
        break;
    case DLL_PROCESS_DETACH:
        UnloadModule();
        break;
    default:
        break;
    }
    return TRUE;
}

#if !defined(_WIN32)
namespace {
// Without a C runtime that calls DllMain, the module calls it itself. Defined after the module
// constants, so that they exist at load and still exist at unload, as on Windows.
class ModuleLifetime {
public:
    ModuleLifetime() { DllMain(ThisModule(), DLL_PROCESS_ATTACH, nullptr); }
    ~ModuleLifetime() { DllMain(ThisModule(), DLL_PROCESS_DETACH, nullptr); }
    ModuleLifetime(const ModuleLifetime&) = delete;
    ModuleLifetime& operator=(const ModuleLifetime&) = delete;

private:
    static HINSTANCE ThisModule() {
        return Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&DllMain));
    }
};

const ModuleLifetime moduleLifetime;
} // namespace
#endif
