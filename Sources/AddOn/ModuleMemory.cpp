// The module's global allocation functions. Every block the module allocates comes from the host's
// GS::MemoryManager, so that a block made here may be freed by the host and the other way round, and
// so that the host counts the add-on's live blocks. Built only into the module, with hidden visibility,
// so that these definitions never replace the host's or anyone else's.

#include "MemoryManager.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace {
// The manager never answers null (it ends the process instead) and needs a non-zero size to hand out
// distinct blocks.
void* AllocateBlock(std::size_t size) {
    return GS::MemoryManager::Allocate(size == 0 ? 1 : size);
}

// The manager aligns for fundamental types only. An over-aligned block is carved out of a larger one;
// the start of that larger block is kept in the word just below the aligned address.
void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t overhead = align + sizeof(void*);
    // A size whose padded request would wrap round is impossible: the manager is asked for the largest
    // size there is, which it refuses as it refuses any impossible size, rather than for the few bytes
    // the wrapped sum would come to (the aligned address and its back-pointer would lie outside them).
    const std::size_t request = size > SIZE_MAX - overhead ? SIZE_MAX : size + overhead;
    void* raw = AllocateBlock(request);
    const auto rawAddress = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t alignedAddress =
        (rawAddress + sizeof(void*) + align - 1) & ~(std::uintptr_t{align} - 1);
    void* aligned = reinterpret_cast<void*>(alignedAddress);
    std::memcpy(static_cast<unsigned char*>(aligned) - sizeof(void*), &raw, sizeof(void*));
    return aligned;
}

void FreeAligned(void* block) {
    if (block == nullptr) {
        return;
    }
    void* raw = nullptr;
    std::memcpy(&raw, static_cast<unsigned char*>(block) - sizeof(void*), sizeof(void*));
    GS::MemoryManager::Free(raw);
}
} // namespace

void* operator new(std::size_t size) {
    return AllocateBlock(size);
}
void* operator new[](std::size_t size) {
    return AllocateBlock(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateBlock(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateBlock(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}

void operator delete(void* block) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete[](void* block) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    GS::MemoryManager::Free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    FreeAligned(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    FreeAligned(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    FreeAligned(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeAligned(block);
}
