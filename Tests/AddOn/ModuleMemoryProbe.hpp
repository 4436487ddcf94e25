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

// Every form of the allocation functions the module defines, each with the release that matches it:
// variant `index` (0 to ProbeVariantCount() - 1) allocates `size` bytes and releases what it made
// (also null).
MODULE_MEMORY_PROBE_API std::size_t ProbeVariantCount();
MODULE_MEMORY_PROBE_API const char* ProbeVariantName(std::size_t index);
MODULE_MEMORY_PROBE_API std::size_t ProbeVariantAlignment(std::size_t index);
MODULE_MEMORY_PROBE_API void* ProbeVariantAllocate(std::size_t index, std::size_t size);
MODULE_MEMORY_PROBE_API void ProbeVariantRelease(std::size_t index, void* block, std::size_t size);
// In a coverage build, makes an abort write the probe's coverage counts first, so that what a death
// test's process ran is counted; nothing otherwise.
MODULE_MEMORY_PROBE_API void ProbeCountCoverageAtAbort();
