#pragma once

#if defined(_WIN32)
#if defined(GSXMLUTILS_BUILDING)
#define GSXMLUTILS_API __declspec(dllexport)
#else
#define GSXMLUTILS_API __declspec(dllimport)
#endif
#else
#define GSXMLUTILS_API __attribute__((visibility("default")))
#endif
