#pragma once

#if defined(_WIN32)
#if defined(RS_BUILDING)
#define RS_API __declspec(dllexport)
#else
#define RS_API __declspec(dllimport)
#endif
#else
#define RS_API __attribute__((visibility("default")))
#endif
