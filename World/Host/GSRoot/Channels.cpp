#include "Channels.hpp"

#include "ChannelFormat.hpp"
#include "MemoryManager.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

namespace GS {

namespace {

constexpr GSSize MinimumGrowth = 64;
constexpr GSSize MaximumSize = std::numeric_limits<GSSize>::max();

} // namespace

OChannel::~OChannel() = default;

GSErrCode OChannel::Write(const UniString& text) {
    const std::string bytes = ChannelFormat::EncodeUniString(text.ToUStr(), text.GetLength());
    if (bytes.size() > static_cast<std::size_t>(MaximumSize)) {
        return GSErr::OutOfMemory;
    }
    return WriteBytes(bytes.data(), static_cast<GSSize>(bytes.size()));
}

IChannel::~IChannel() = default;

GSErrCode IChannel::Read(UniString& text) {
    GSSize count = 0;
    const char* bytes = Remaining(count);
    const ChannelFormat::DecodedUniString decoded = ChannelFormat::DecodeUniString(
        reinterpret_cast<const unsigned char*>(bytes), static_cast<std::size_t>(count));
    if (decoded.result != NoError) {
        text.Clear();
        return decoded.result;
    }
    text = UniString(decoded.units.data(), static_cast<UIndex>(decoded.units.size()));
    Advance(static_cast<GSSize>(decoded.consumed));
    return NoError;
}

// ---- MemoryOChannel32

MemoryOChannel32::MemoryOChannel32(Int32 initialSize, Int32 growthStep, MemoryAllocationMode allocationMode)
    : growth(std::max<GSSize>(growthStep, 0)), mode(allocationMode) {
    if (initialSize > 0) {
        Reserve(initialSize);
    }
}

MemoryOChannel32::~MemoryOChannel32() {
    MemoryManager::Free(block);
}

const char* MemoryOChannel32::GetDestination(OwnershipType ownership) {
    if (ownership != PassOwnership) {
        return block;
    }
    char* handedOver = block;
    block = nullptr;
    dataSize = capacity = 0;
    return handedOver;
}

void MemoryOChannel32::Reserve(GSSize needed) {
    if (needed <= capacity) {
        return;
    }
    Int64 next = capacity;
    while (next < needed) {
        const Int64 step =
            mode == FixedGrowthAllocation && growth > 0 ? growth : std::max<Int64>(next, MinimumGrowth);
        next += step;
    }
    next = std::min<Int64>(next, MaximumSize);
    auto* fresh = static_cast<char*>(MemoryManager::Allocate(static_cast<std::size_t>(next)));
    if (dataSize > 0) {
        std::memcpy(fresh, block, static_cast<std::size_t>(dataSize));
    }
    MemoryManager::Free(block);
    block = fresh;
    capacity = static_cast<GSSize>(next);
}

GSErrCode MemoryOChannel32::WriteBytes(const char* bytes, GSSize count) {
    if (count < 0 || count > MaximumSize - dataSize) {
        return GSErr::OutOfMemory;
    }
    if (count == 0) {
        return NoError;
    }
    Reserve(dataSize + count);
    std::memcpy(block + dataSize, bytes, static_cast<std::size_t>(count));
    dataSize += count;
    return NoError;
}

// ---- MemoryIChannel32

MemoryIChannel32::MemoryIChannel32(const void* bytes, GSSize byteCount, OwnershipType blockOwnership,
                                   char* /*inputBuffer*/, GSSize /*inputBufferSize*/,
                                   MemoryAllocationMode /*mode*/)
    : data(static_cast<const char*>(bytes)), size(bytes != nullptr ? std::max<GSSize>(byteCount, 0) : 0),
      ownership(blockOwnership) {}

MemoryIChannel32::~MemoryIChannel32() {
    if (ownership == PassOwnership) {
        MemoryManager::Free(const_cast<char*>(data));
    }
}

const char* MemoryIChannel32::Remaining(GSSize& count) const {
    count = size - position;
    return data != nullptr ? data + position : nullptr;
}

void MemoryIChannel32::Advance(GSSize count) {
    position = std::min(size, position + count);
}

} // namespace GS
