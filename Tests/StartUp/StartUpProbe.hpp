#pragma once

#include <cstdint>

// A DLL built, like the add-on module, on the start-up library alone (cmake/MsvcAbi/crt), twice under
// two names, so that a test can load two modules on the same runtime and watch what each one's
// start-up and unload do. What it records goes to the recorder the test hands it.
#ifdef START_UP_PROBE_BUILD
#define START_UP_PROBE_API extern "C" __declspec(dllexport)
#else
#define START_UP_PROBE_API extern "C" __declspec(dllimport)
#endif

using ProbeRecorder = void (*)(const char* event);

// From now on the module's unload events ("<name>: static destroyed", "<name>: atexit") go to `record`.
using ProbeSetRecorderProc = void (*)(ProbeRecorder record);
// 42 while the module's static object lives.
using ProbeAnswerProc = int (*)();
// A function-local static whose construction takes a while: its address, and in `*value` what its
// constructor finished writing (7).
using ProbeSlowStaticProc = const void* (*)(int* value);
// How many times the slow static was constructed.
using ProbeSlowStaticConstructionsProc = int (*)();
// The stack cookie as the module's first function with a protected buffer saw it, at load.
using ProbeCookieAtLoadProc = std::uintptr_t (*)();
// Where the module's stack cookie lives, and where its Control Flow Guard dispatch pointer does.
using ProbeAddressProc = const void* (*)();
