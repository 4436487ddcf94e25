#include <vcruntime_new.h>

void* __CRTDECL operator new[](size_t size) {
    return operator new(size);
}
