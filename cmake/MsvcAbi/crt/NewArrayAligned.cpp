#include <vcruntime_new.h>

void* __CRTDECL operator new[](size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
