#include "ModuleMemoryProbe.hpp"

#include <new>

namespace {
struct alignas(64) CacheLine {
    unsigned char bytes[64];
};
} // namespace

void* ProbeNewObject() {
    return new int(42);
}
void ProbeDeleteObject(void* object) {
    delete static_cast<int*>(object);
}
void* ProbeNewArray(std::size_t count) {
    return new char[count];
}
void ProbeDeleteArray(void* array) {
    delete[] static_cast<char*>(array);
}
void* ProbeNewNothrow() {
    return new (std::nothrow) int(7);
}
void ProbeDeleteNothrow(void* object) {
    ::operator delete(object, std::nothrow);
}
void* ProbeNewCacheLine() {
    return new CacheLine;
}
void ProbeDeleteCacheLine(void* object) {
    delete static_cast<CacheLine*>(object);
}
void* ProbeNewCacheLines(std::size_t count) {
    return new CacheLine[count];
}
void ProbeDeleteCacheLines(void* array) {
    delete[] static_cast<CacheLine*>(array);
}
void* ProbeAllocateAligned(std::size_t size, std::size_t alignment) {
    return ::operator new (size, std::align_val_t{alignment});
}
void ProbeFreeAligned(void* block, std::size_t size, std::size_t alignment) {
    ::operator delete (block, size, std::align_val_t{alignment});
}
void* ProbeAllocate(std::size_t size) {
    return ::operator new(size);
}
void ProbeFree(void* block) {
    ::operator delete(block);
}
