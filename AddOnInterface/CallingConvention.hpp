#pragma once

// The calling convention of every function that crosses the add-on boundary: the two exports, the
// entry points, the host table's operations and the menu handler. x64 Windows has one convention,
// which __cdecl names; elsewhere the platform's C convention.
#if defined(_WIN32)
#define HOST_CALL __cdecl
#else
#define HOST_CALL
#endif

// Marks the two functions that an add-on module exports by name.
#if defined(_WIN32)
#define ADDON_EXPORT extern "C" __declspec(dllexport)
#else
#define ADDON_EXPORT extern "C" __attribute__((visibility("default")))
#endif
