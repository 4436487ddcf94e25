#include <stdlib.h>
#include <vcruntime_new.h>

void __CRTDECL operator delete(void* block) noexcept {
    free(block);
}
