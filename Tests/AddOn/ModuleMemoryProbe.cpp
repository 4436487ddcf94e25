#include "ModuleMemoryProbe.hpp"

#include <csignal>
#include <iterator>
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

namespace {
constexpr std::align_val_t Page{4096};

struct Variant {
    const char* name;
    std::size_t alignment;
    void* (*allocate)(std::size_t size);
    void (*release)(void* block, std::size_t size);
};

const Variant variants[] = {
    {"new / delete", 1, [](std::size_t size) { return ::operator new(size); },
     [](void* block, std::size_t) { ::operator delete(block); }},
    {"new / sized delete", 1, [](std::size_t size) { return ::operator new(size); },
     [](void* block, std::size_t size) { ::operator delete(block, size); }},
    {"new[] / delete[]", 1, [](std::size_t size) { return ::operator new[](size); },
     [](void* block, std::size_t) { ::operator delete[](block); }},
    {"new[] / sized delete[]", 1, [](std::size_t size) { return ::operator new[](size); },
     [](void* block, std::size_t size) { ::operator delete[](block, size); }},
    {"nothrow new / nothrow delete", 1, [](std::size_t size) { return ::operator new(size, std::nothrow); },
     [](void* block, std::size_t) { ::operator delete(block, std::nothrow); }},
    {"nothrow new[] / nothrow delete[]", 1,
     [](std::size_t size) { return ::operator new[](size, std::nothrow); },
     [](void* block, std::size_t) { ::operator delete[](block, std::nothrow); }},
    {"aligned new / aligned delete", 4096, [](std::size_t size) { return ::operator new(size, Page); },
     [](void* block, std::size_t) { ::operator delete(block, Page); }},
    {"aligned new / sized aligned delete", 4096, [](std::size_t size) { return ::operator new(size, Page); },
     [](void* block, std::size_t size) { ::operator delete(block, size, Page); }},
    {"aligned new[] / aligned delete[]", 4096, [](std::size_t size) { return ::operator new[](size, Page); },
     [](void* block, std::size_t) { ::operator delete[](block, Page); }},
    {"aligned new[] / sized aligned delete[]", 4096,
     [](std::size_t size) { return ::operator new[](size, Page); },
     [](void* block, std::size_t size) { ::operator delete[](block, size, Page); }},
    {"aligned nothrow new / aligned nothrow delete", 4096,
     [](std::size_t size) { return ::operator new(size, Page, std::nothrow); },
     [](void* block, std::size_t) { ::operator delete(block, Page, std::nothrow); }},
    {"aligned nothrow new[] / aligned nothrow delete[]", 4096,
     [](std::size_t size) { return ::operator new[](size, Page, std::nothrow); },
     [](void* block, std::size_t) { ::operator delete[](block, Page, std::nothrow); }},
};
} // namespace

std::size_t ProbeVariantCount() {
    return std::size(variants);
}
const char* ProbeVariantName(std::size_t index) {
    return variants[index].name;
}
std::size_t ProbeVariantAlignment(std::size_t index) {
    return variants[index].alignment;
}
void* ProbeVariantAllocate(std::size_t index, std::size_t size) {
    return variants[index].allocate(size);
}
void ProbeVariantRelease(std::size_t index, void* block, std::size_t size) {
    variants[index].release(block, size);
}

#ifdef VELD_ADDON_COVERAGE
// gcov's own: writes this library's counts now (a process that aborts never reaches its exit).
extern "C" void __gcov_dump();
void ProbeCountCoverageAtAbort() {
    std::signal(SIGABRT, [](int) { __gcov_dump(); });
}
#else
void ProbeCountCoverageAtAbort() {}
#endif
