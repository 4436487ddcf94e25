// operator new(size_t): the C runtime's heap; on exhaustion the installed new handler is asked, and
// std::bad_alloc thrown when there is none or it gives up.
#include <stdlib.h>
#include <vcruntime_exception.h>
#include <vcruntime_new.h>

// Asks the installed new handler to free memory: 0 when there is none or it could not.
extern "C" int __cdecl _callnewh(size_t size);

void* __CRTDECL operator new(size_t size) {
    for (;;) {
        if (void* block = malloc(size == 0 ? 1 : size)) {
            return block;
        }
        if (_callnewh(size) == 0) {
            throw std::bad_alloc();
        }
    }
}
