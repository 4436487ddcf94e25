#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"

// Host memory blocks and handles, all from GS::MemoryManager.

// Fills `count` bytes at `destination` with `value`.
GSROOT_API void BNFillMemory(void* destination, GSSize count, UInt8 value);

// Makes a new handle holding a copy of `size` bytes at `source` (`source` may be null only when
// `size` is 0) and stores it in `*handle`. Returns 0, or an error code and leaves `*handle` alone.
GSROOT_API GSErrCode BMPtrToHandle(const void* source, GSHandle* handle, GSSize size);
// Size in bytes of the block that the handle refers to; 0 for a null handle.
GSROOT_API GSSize BMGetHandleSize(GSConstHandle handle);
// Frees the handle and its block and sets `*handle` to null. Accepts a null handle.
GSROOT_API GSErrCode BMKillHandle(GSHandle* handle);
