#pragma once

#include "AddOnInterface.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"
#include "Win32Api.hpp"

// The two functions the host looks up by name when it loads the module.
ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record);
ADDON_EXPORT Int32 HOST_CALL SetImportedFuncAddrs(const void* table);

// The entry points that GetExportedFuncAddrs hands to the host. Until the host has handed over its
// function table, describe answers 0 and the other three GSErr::NotInitialised, changing nothing.
Int32 HOST_CALL AddOnDescribe(AddOnDescriptionRecord* description);
GSErrCode HOST_CALL AddOnRegister(void* unused);
GSErrCode HOST_CALL AddOnStart(AddOnToken token);
GSErrCode HOST_CALL AddOnRelease();

// Runs the command behind an item of the add-on's menu. Always answers 0: a command reports its
// own failures to the user.
GSErrCode HOST_CALL MenuCommandHandler(const MenuCommandRecord* command);

// Module load and unload. The C runtime calls it on Windows; elsewhere the module's own static
// object does, at the same moments relative to the module constants.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// Module constants. They live from before load until after unload.
extern const GS::UniString TranslatorObjectName; // the project add-on object holding the translator
extern const GS::UniString WorkbookFileName;     // the SAF workbook handed to the analysis application
extern const GS::UniString InfoDialogKey;        // where the host remembers "Don't show this dialog again."
