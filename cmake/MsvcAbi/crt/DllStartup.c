// A DLL's entry point. At load the module's C and C++ static initialisers run, then DllMain; at unload
// DllMain, then what the module registered with atexit (its static objects' destructors) in reverse
// order, then the module's list of type names is freed.
//
// In a DLL, atexit registers with the module's own table, not the process's: a module that is
// unloaded while the process goes on must destroy its statics at its own unload, while its code is
// still mapped.
#include "StartupTables.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);
void __cdecl __std_type_info_destroy_list(SLIST_HEADER* root);
extern SLIST_HEADER __type_info_root_node;
void __cdecl __security_init_cookie(void);

static _onexit_table_t moduleExitTable;

static BOOL RunStaticInitialisers(void) {
    if (_initialize_onexit_table(&moduleExitTable) != 0) {
        return FALSE;
    }
    return RunModuleInitialisers() == 0;
}

static void RunStaticDestructors(void) {
    _execute_onexit_table(&moduleExitTable);
    __std_type_info_destroy_list(&__type_info_root_node);
}

BOOL WINAPI _DllMainCRTStartup(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        // Before any function of the module that keeps a stack cookie runs.
        __security_init_cookie();
        if (!RunStaticInitialisers()) {
            RunStaticDestructors();
            return FALSE;
        }
        if (!DllMain(module, reason, reserved)) {
            // A refused load is followed by no detach: undo the start-up now.
            RunStaticDestructors();
            return FALSE;
        }
        return TRUE;
    }
    BOOL result = DllMain(module, reason, reserved);
    if (reason == DLL_PROCESS_DETACH) {
        RunStaticDestructors();
    }
    return result;
}

int __cdecl atexit(_PVFV function) {
    return _register_onexit_function(&moduleExitTable, (_onexit_t)function);
}

_onexit_t __cdecl _onexit(_onexit_t function) {
    return _register_onexit_function(&moduleExitTable, function) == 0 ? function : NULL;
}
