#include <vcruntime_new.h>

void* __CRTDECL operator new[](size_t size, std::nothrow_t const&) noexcept {
    try {
        return operator new[](size);
    } catch (...) {
        return nullptr;
    }
}
