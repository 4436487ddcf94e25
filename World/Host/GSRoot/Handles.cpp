#include "Handles.hpp"

#include "MemoryManager.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace {

// A handle points at `master`, the first member, so `*handle` is the data block as the host's
// handle convention has it. Both this record and the data are memory-manager blocks.
struct HandleRecord {
    char* master;
    GSSize size;
};

// Handles that are alive, so that a pointer that is none is caught before it is read.
struct LiveHandles {
    std::mutex mutex;
    std::unordered_set<const void*> records;
};

LiveHandles& GetLiveHandles() {
    static LiveHandles* handles = new LiveHandles;
    return *handles;
}

bool IsLive(const void* record) {
    LiveHandles& live = GetLiveHandles();
    std::lock_guard lock(live.mutex);
    return live.records.count(record) != 0;
}

HandleRecord* RecordOf(GSConstHandle handle) {
    auto* record = reinterpret_cast<HandleRecord*>(const_cast<char**>(handle));
    if (!IsLive(record)) {
        std::fprintf(stderr, "BMKillHandle/BMGetHandleSize: %p is not a live handle\n",
                     static_cast<const void*>(handle));
        std::fflush(stderr);
        std::abort();
    }
    return record;
}

} // namespace

void BNFillMemory(void* destination, GSSize count, UInt8 value) {
    if (destination != nullptr && count > 0) {
        std::memset(destination, value, static_cast<std::size_t>(count));
    }
}

GSErrCode BMPtrToHandle(const void* source, GSHandle* handle, GSSize size) {
    if (handle == nullptr || size < 0 || (source == nullptr && size > 0)) {
        return GSErr::BadParameter;
    }
    auto* record = static_cast<HandleRecord*>(GS::MemoryManager::Allocate(sizeof(HandleRecord)));
    record->master = static_cast<char*>(GS::MemoryManager::Allocate(static_cast<std::size_t>(size)));
    record->size = size;
    {
        LiveHandles& live = GetLiveHandles();
        std::lock_guard lock(live.mutex);
        live.records.insert(record);
    }
    if (size > 0) {
        std::memcpy(record->master, source, static_cast<std::size_t>(size));
    }
    *handle = &record->master;
    return NoError;
}

GSSize BMGetHandleSize(GSConstHandle handle) {
    return handle == nullptr ? 0 : RecordOf(handle)->size;
}

GSErrCode BMKillHandle(GSHandle* handle) {
    if (handle == nullptr || *handle == nullptr) {
        return NoError;
    }
    HandleRecord* record = RecordOf(*handle);
    {
        LiveHandles& live = GetLiveHandles();
        std::lock_guard lock(live.mutex);
        live.records.erase(record);
    }
    GS::MemoryManager::Free(record->master);
    GS::MemoryManager::Free(record);
    *handle = nullptr;
    return NoError;
}
