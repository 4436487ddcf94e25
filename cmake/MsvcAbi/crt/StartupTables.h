// What the EXE and DLL start-ups share: the bounds of the module's initialiser tables
// (ModuleSections.c) and the Universal C runtime's start-up functions they run them with.
#pragma once
#include <corecrt_startup.h>

typedef int(__cdecl* CrtInitializer)(void);

// The Universal C runtime's table runners (Wine's headers leave them out).
_ACRTIMP void __cdecl _initterm(_PVFV* first, _PVFV* last);
_ACRTIMP int __cdecl _initterm_e(CrtInitializer* first, CrtInitializer* last);

extern CrtInitializer __xi_a[];
extern CrtInitializer __xi_z[];
extern _PVFV __xc_a[];
extern _PVFV __xc_z[];

void __cdecl DetectInstructionSets(void);

// Detects the instruction sets, then runs the module's C initialisers and, when none failed, its C++
// static initialisers: 0, or what the failing C initialiser answered.
int __cdecl RunModuleInitialisers(void);
