// The delete forms that only pass more information: each frees as the plain operator delete does, so
// that a module replacing the plain one has its replacement used by all of them.
#include <vcruntime_new.h>

void __CRTDECL operator delete(void* block, size_t) noexcept {
    operator delete(block);
}
void __CRTDECL operator delete(void* block, std::nothrow_t const&) noexcept {
    operator delete(block);
}
void __CRTDECL operator delete[](void* block) noexcept {
    operator delete(block);
}
void __CRTDECL operator delete[](void* block, size_t) noexcept {
    operator delete[](block);
}
void __CRTDECL operator delete[](void* block, std::nothrow_t const&) noexcept {
    operator delete[](block);
}
