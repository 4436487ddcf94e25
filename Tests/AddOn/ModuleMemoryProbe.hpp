#pragma once

#include <cstddef>

// A small shared library built like the module (the module's allocation functions inside, hidden by
// a version script) that allocates and frees on request, so a test sees exactly what the module's
// own `new` and `delete` expressions do.
#define MODULE_MEMORY_PROBE_API extern "C" __attribute__((visibility("default")))

MODULE_MEMORY_PROBE_API void* ProbeNewObject();
MODULE_MEMORY_PROBE_API void ProbeDeleteObject(void* object);
MODULE_MEMORY_PROBE_API void* ProbeNewArray(std::size_t count);
MODULE_MEMORY_PROBE_API void ProbeDeleteArray(void* array);
MODULE_MEMORY_PROBE_API void* ProbeNewNothrow();
MODULE_MEMORY_PROBE_API void ProbeDeleteNothrow(void* object);
// Objects aligned to 64 bytes, one or `count` of them.
MODULE_MEMORY_PROBE_API void* ProbeNewCacheLine();
MODULE_MEMORY_PROBE_API void ProbeDeleteCacheLine(void* object);
MODULE_MEMORY_PROBE_API void* ProbeNewCacheLines(std::size_t count);
MODULE_MEMORY_PROBE_API void ProbeDeleteCacheLines(void* array);
// The raw allocation functions with an explicit alignment, and the sized release.
MODULE_MEMORY_PROBE_API void* ProbeAllocateAligned(std::size_t size, std::size_t alignment);
MODULE_MEMORY_PROBE_API void ProbeFreeAligned(void* block, std::size_t size, std::size_t alignment);
MODULE_MEMORY_PROBE_API void* ProbeAllocate(std::size_t size);
MODULE_MEMORY_PROBE_API void ProbeFree(void* block);
