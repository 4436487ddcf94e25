// Wine's crtdbg.h, with the report-file part of the debug reporting API. There is no debug runtime
// here (Wine has only the release DLLs), so, as in a release build on Windows, the calls do nothing.
#pragma once
#include_next <crtdbg.h>

typedef void* _HFILE;
#ifndef _CRTDBG_MODE_FILE
#define _CRTDBG_MODE_FILE 0x1
#define _CRTDBG_MODE_DEBUG 0x2
#define _CRTDBG_MODE_WNDW 0x4
#define _CRTDBG_REPORT_MODE -1
#endif
#define _CRTDBG_INVALID_HFILE ((_HFILE)(intptr_t)-1)
#define _CRTDBG_HFILE_ERROR ((_HFILE)(intptr_t)-2)
#define _CRTDBG_FILE_STDOUT ((_HFILE)(intptr_t)-4)
#define _CRTDBG_FILE_STDERR ((_HFILE)(intptr_t)-5)
#define _CRTDBG_REPORT_FILE ((_HFILE)(intptr_t)-6)
#ifndef _CrtSetReportFile
#define _CrtSetReportFile(type, file) ((_HFILE)0)
#endif
