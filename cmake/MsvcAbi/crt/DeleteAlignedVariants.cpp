#include <vcruntime_new.h>

void __CRTDECL operator delete(void* block, size_t, std::align_val_t alignment) noexcept {
    operator delete(block, alignment);
}
void __CRTDECL operator delete(void* block, std::align_val_t alignment, std::nothrow_t const&) noexcept {
    operator delete(block, alignment);
}
void __CRTDECL operator delete[](void* block, std::align_val_t alignment) noexcept {
    operator delete(block, alignment);
}
void __CRTDECL operator delete[](void* block, size_t, std::align_val_t alignment) noexcept {
    operator delete[](block, alignment);
}
void __CRTDECL operator delete[](void* block, std::align_val_t alignment, std::nothrow_t const&) noexcept {
    operator delete[](block, alignment);
}
