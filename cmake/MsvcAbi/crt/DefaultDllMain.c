// The DllMain of a DLL that defines none. The linker takes this object from the library only when
// the module has no DllMain of its own.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)module;
    (void)reason;
    (void)reserved;
    return TRUE;
}
