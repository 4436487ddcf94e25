#include <stdlib.h>
#include <vcruntime_new.h>

void __CRTDECL operator delete(void* block, std::align_val_t) noexcept {
    _aligned_free(block);
}
