// The part of a program's start that does not depend on whether its entry is main or wmain.
#pragma once

void __cdecl InitialiseProgramModule(void);
