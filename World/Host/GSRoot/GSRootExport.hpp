#pragma once

// Marks what GSRoot exports to the host and to add-ons.
#if defined(_WIN32)
#if defined(GSROOT_BUILDING)
#define GSROOT_API __declspec(dllexport)
#else
#define GSROOT_API __declspec(dllimport)
#endif
#else
#define GSROOT_API __attribute__((visibility("default")))
#endif
