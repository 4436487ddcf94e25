// The runtime-internal helpers that the STL's static sources (stl/src) use: the C runtime's heap
// under its internal names, and an owning pointer to a block of it.
#pragma once
#include <stdlib.h>

#define _malloc_crt malloc
#define _calloc_crt calloc
#define _realloc_crt realloc
#define _free_crt free
#define _malloc_crt_t(t, n) static_cast<t*>(_calloc_crt((n), sizeof(t)))
#define _calloc_crt_t(t, n) static_cast<t*>(_calloc_crt((n), sizeof(t)))

#ifdef __cplusplus
template <typename T>
class __crt_unique_heap_ptr {
public:
    __crt_unique_heap_ptr() noexcept = default;
    explicit __crt_unique_heap_ptr(T* pointer) noexcept : block(pointer) {}
    __crt_unique_heap_ptr(__crt_unique_heap_ptr const&) = delete;
    __crt_unique_heap_ptr& operator=(__crt_unique_heap_ptr const&) = delete;
    ~__crt_unique_heap_ptr() noexcept { _free_crt(block); }

    __crt_unique_heap_ptr& operator=(T* pointer) noexcept {
        _free_crt(block);
        block = pointer;
        return *this;
    }

    T* get() const noexcept { return block; }
    T* detach() noexcept {
        T* result = block;
        block = nullptr;
        return result;
    }
    explicit operator bool() const noexcept { return block != nullptr; }

private:
    T* block = nullptr;
};
#endif
