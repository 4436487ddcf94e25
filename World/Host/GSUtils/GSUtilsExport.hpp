#pragma once

#if defined(_WIN32)
#if defined(GSUTILS_BUILDING)
#define GSUTILS_API __declspec(dllexport)
#else
#define GSUTILS_API __declspec(dllimport)
#endif
#else
#define GSUTILS_API __attribute__((visibility("default")))
#endif
