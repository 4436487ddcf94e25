#pragma once

// Marks what UD exports to the host and to add-ons.
#if defined(_WIN32)
#if defined(UD_BUILDING)
#define UD_API __declspec(dllexport)
#else
#define UD_API __declspec(dllimport)
#endif
#else
#define UD_API __attribute__((visibility("default")))
#endif
