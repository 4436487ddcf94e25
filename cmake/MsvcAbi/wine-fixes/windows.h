// Wine's windows.h, completed with the declarations of newer Windows versions that the MSVC STL's
// filesystem support uses and Wine 8's headers lack. Their layouts are the documented ones.
#pragma once
#include_next <windows.h>

#include <fileapi.h>

#ifndef FILE_DISPOSITION_FLAG_DELETE
#define FILE_DISPOSITION_FLAG_DO_NOT_DELETE 0x00000000
#define FILE_DISPOSITION_FLAG_DELETE 0x00000001
#define FILE_DISPOSITION_FLAG_POSIX_SEMANTICS 0x00000002
#define FILE_DISPOSITION_FLAG_FORCE_IMAGE_SECTION_CHECK 0x00000004
#define FILE_DISPOSITION_FLAG_ON_CLOSE 0x00000008
#define FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE 0x00000010
typedef struct _FILE_DISPOSITION_INFO_EX {
    DWORD Flags;
} FILE_DISPOSITION_INFO_EX, *PFILE_DISPOSITION_INFO_EX;
#endif

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

#ifndef FILE_RENAME_FLAG_REPLACE_IF_EXISTS
#define FILE_RENAME_FLAG_REPLACE_IF_EXISTS 0x00000001
#define FILE_RENAME_FLAG_POSIX_SEMANTICS 0x00000002
#endif

#ifndef _FILE_ID_INFO_DEFINED
#define _FILE_ID_INFO_DEFINED
typedef struct _VELD_FILE_ID_128 {
    BYTE Identifier[16];
} VELD_FILE_ID_128;
typedef struct _FILE_ID_INFO {
    ULONGLONG VolumeSerialNumber;
    VELD_FILE_ID_128 FileId;
} FILE_ID_INFO, *PFILE_ID_INFO;
#endif

#ifdef __cplusplus
extern "C" {
#endif
// Windows 11's temp path for processes of any privilege; kernel32 falls back in the start-up library
// (cmake/MsvcAbi/crt/KernelFallbacks.c) where the running system lacks it.
DWORD WINAPI GetTempPath2W(DWORD length, LPWSTR buffer);
// The code page of the C runtime's current locale (ucrtbase.dll).
__declspec(dllimport) unsigned int __cdecl ___lc_codepage_func(void);
#ifdef __cplusplus
}
#endif
