// Two kernel32 functions of newer Windows versions that the STL's filesystem support calls and
// Wine 8's kernel32 lacks: importing them would keep every module from loading there. The calls go
// through the import slot the compiler reads (__imp_<name>); the slot here holds a function that
// uses the system's own where it has one, and otherwise does the same with older functions.
#include <windows.h>

static FARPROC SystemFunction(const char* name) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 ? GetProcAddress(kernel32, name) : NULL;
}

typedef HRESULT(WINAPI* CopyFile2Function)(PCWSTR, PCWSTR, COPYFILE2_EXTENDED_PARAMETERS*);

static HRESULT WINAPI CopyFile2OrFallback(PCWSTR source, PCWSTR target,
                                          COPYFILE2_EXTENDED_PARAMETERS* parameters) {
    CopyFile2Function system = (CopyFile2Function)(void*)SystemFunction("CopyFile2");
    if (system) {
        return system(source, target, parameters);
    }
    // The STL asks only for COPY_FILE_FAIL_IF_EXISTS, which CopyFileExW knows by the same value.
    const DWORD flags = parameters ? (parameters->dwCopyFlags & COPY_FILE_FAIL_IF_EXISTS) : 0;
    BOOL cancel = FALSE;
    if (CopyFileExW(source, target, NULL, NULL, &cancel, flags)) {
        return S_OK;
    }
    return HRESULT_FROM_WIN32(GetLastError());
}

typedef DWORD(WINAPI* GetTempPath2WFunction)(DWORD, LPWSTR);

static DWORD WINAPI GetTempPath2WOrFallback(DWORD length, LPWSTR buffer) {
    GetTempPath2WFunction system = (GetTempPath2WFunction)(void*)SystemFunction("GetTempPath2W");
    return system ? system(length, buffer) : GetTempPathW(length, buffer);
}

CopyFile2Function __imp_CopyFile2 = CopyFile2OrFallback;
GetTempPath2WFunction __imp_GetTempPath2W = GetTempPath2WOrFallback;
