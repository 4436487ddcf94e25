#include "AllocationMeter.hpp"

#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, so operator delete can take it off the live count.
constexpr std::size_t headerBytes = alignof(std::max_align_t);

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;
std::size_t allocations = 0;

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + headerBytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    liveBytes += size;
    ++allocations;
    if (liveBytes > peakBytes) {
        peakBytes = liveBytes;
    }
    return static_cast<char*>(block) + headerBytes;
}

void Free(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    void* block = static_cast<char*>(pointer) - headerBytes;
    liveBytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer) noexcept {
    Free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Free(pointer);
}

namespace AllocationMeter {

void ResetPeak() {
    peakBytes = liveBytes;
    allocations = 0;
}
std::size_t PeakBytes() {
    return peakBytes;
}
std::size_t LiveBytes() {
    return liveBytes;
}
std::size_t Allocations() {
    return allocations;
}

} // namespace AllocationMeter
