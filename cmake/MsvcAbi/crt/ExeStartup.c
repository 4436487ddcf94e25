// What every program's start shares (ExeMain.c, ExeWmain.c): the module's C and C++ static
// initialisers, and atexit.
//
// In a program, atexit registers with the runtime's own table (_crt_atexit), so functions registered
// by the program run in exit() in reverse order of registration, with the runtime's own.
#include "ExeStartup.h"
#include "StartupTables.h"

#include <stdlib.h>

void __cdecl __security_init_cookie(void);

void __cdecl InitialiseProgramModule(void) {
    // Before any function of the module that keeps a stack cookie runs.
    __security_init_cookie();
    if (RunModuleInitialisers() != 0) {
        exit(255);
    }
}

int __cdecl atexit(_PVFV function) {
    return _crt_atexit(function);
}

_onexit_t __cdecl _onexit(_onexit_t function) {
    return _crt_atexit((_PVFV)function) == 0 ? function : NULL;
}
