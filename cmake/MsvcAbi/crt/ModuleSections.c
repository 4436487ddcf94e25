// The section markers of a module's start-up tables and the step that runs them, its TLS directory
// and the few data symbols that Microsoft's compiler (and clang in its mode) expects every module to
// carry.
//
// The linker sorts the parts of a section by the text after '$': the compiler places each C
// initialiser in .CRT$XIC..XIY, each C++ static initialiser in .CRT$XCU, each TLS callback in
// .CRT$XLB..XLY, and thread-local data in .tls$. The A and Z entries here bound those tables.
#include "StartupTables.h"

#include <windows.h>

#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)

__declspec(allocate(".CRT$XIA")) CrtInitializer __xi_a[] = {0};
__declspec(allocate(".CRT$XIZ")) CrtInitializer __xi_z[] = {0};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {0};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {0};
__declspec(allocate(".CRT$XLA")) PIMAGE_TLS_CALLBACK __xl_a = 0;
__declspec(allocate(".CRT$XLZ")) PIMAGE_TLS_CALLBACK __xl_z = 0;

int __cdecl RunModuleInitialisers(void) {
    DetectInstructionSets();
    const int failed = _initterm_e(__xi_a, __xi_z);
    if (failed != 0) {
        return failed;
    }
    _initterm(__xc_a, __xc_z);
    return 0;
}

// The module's thread-local data lies between these two; the loader copies it for every thread
// and stores the slot it chose in _tls_index, which the compiler's TLS accesses read.
#pragma section(".tls", long, read, write)
#pragma section(".tls$ZZZ", long, read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;
ULONG _tls_index = 0;

// The linker finds this by name and points the PE header's TLS directory at it.
const IMAGE_TLS_DIRECTORY64 _tls_used = {
    (ULONGLONG)&_tls_start, (ULONGLONG)&_tls_end, (ULONGLONG)&_tls_index, (ULONGLONG)(&__xl_a + 1), 0, 0,
};

// Referenced by every object that uses floating point, to make the linker bring in the floating-point
// support; its value is the one the runtime has always given it.
int _fltused = 0x9875;

// The head of this module's list of undecorated type names that type_info::name() made; freed when
// the module goes (vcruntime140's list functions need it 16-byte aligned).
__declspec(align(16)) SLIST_HEADER __type_info_root_node;
