#pragma once

// Marks what DG exports to the host and to add-ons.
#if defined(_WIN32)
#if defined(DG_BUILDING)
#define DG_API __declspec(dllexport)
#else
#define DG_API __declspec(dllimport)
#endif
#else
#define DG_API __attribute__((visibility("default")))
#endif
