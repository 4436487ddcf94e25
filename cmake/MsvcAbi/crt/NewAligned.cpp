// Over-aligned allocation: the C runtime's aligned heap, whose blocks must be freed with _aligned_free.
#include <stdlib.h>
#include <vcruntime_exception.h>
#include <vcruntime_new.h>

// Asks the installed new handler to free memory: 0 when there is none or it could not.
extern "C" int __cdecl _callnewh(size_t size);

void* __CRTDECL operator new(size_t size, std::align_val_t alignment) {
    for (;;) {
        if (void* block = _aligned_malloc(size == 0 ? 1 : size, static_cast<size_t>(alignment))) {
            return block;
        }
        if (_callnewh(size) == 0) {
            throw std::bad_alloc();
        }
    }
}
