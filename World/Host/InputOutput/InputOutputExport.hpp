#pragma once

#if defined(_WIN32)
#if defined(INPUTOUTPUT_BUILDING)
#define INPUTOUTPUT_API __declspec(dllexport)
#else
#define INPUTOUTPUT_API __declspec(dllimport)
#endif
#else
#define INPUTOUTPUT_API __attribute__((visibility("default")))
#endif
