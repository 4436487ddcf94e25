#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// The host's byte channels. A GS::UniString travels as ChannelFormat.hpp lays it out: UInt16 version
// 1, UInt32 count of UTF-16 units, the units, all little-endian.
namespace GS {

// Who owns a memory block after it is handed over. The values are the host's.
enum OwnershipType : Int32 {
    RetainOwnership = 0, // the giver keeps the block; the receiver only looks at it
    PassOwnership = 1    // the receiver takes the block and frees it with GS::MemoryManager::Free
};

// How a memory channel grows its block. Every mode allocates through GS::MemoryManager.
enum MemoryAllocationMode : Int32 {
    FixedGrowthAllocation = 0, // grows by the channel's growth step
    StandardAllocation = 1     // doubles, so that many small writes stay cheap
};

class GSROOT_API OChannel {
public:
    virtual ~OChannel();
    // Appends the string's serialization. 0, or the channel's error; a failed write adds nothing.
    GSErrCode Write(const UniString& text);

protected:
    virtual GSErrCode WriteBytes(const char* bytes, GSSize count) = 0;
};

class GSROOT_API IChannel {
public:
    virtual ~IChannel();
    // Reads one serialized string. On bytes that are too few, of another version or not a string at
    // all it answers GSErr::BadData, leaves `text` empty and consumes nothing; it never reads past
    // the channel's data.
    GSErrCode Read(UniString& text);

protected:
    // The bytes not read yet, and a step forward over `count` of them.
    virtual const char* Remaining(GSSize& count) const = 0;
    virtual void Advance(GSSize count) = 0;
};

// Writes into one growing GS::MemoryManager block.
class GSROOT_API MemoryOChannel32 : public OChannel {
public:
    // `initialSize` bytes are reserved at once (0: none until the first write); `growth` is the step
    // of FixedGrowthAllocation (0: the block's own size, at least 64 bytes).
    MemoryOChannel32(Int32 initialSize, Int32 growth, MemoryAllocationMode mode);
    ~MemoryOChannel32() override;
    MemoryOChannel32(const MemoryOChannel32&) = delete;
    MemoryOChannel32& operator=(const MemoryOChannel32&) = delete;

    GSSize GetDataSize() const { return dataSize; }
    // RetainOwnership: the channel's block, valid while the channel lives and is not written to
    // (null before the first write). PassOwnership: the block becomes the caller's, who frees it with
    // GS::MemoryManager::Free, and the channel starts again empty.
    const char* GetDestination(OwnershipType ownership);

protected:
    GSErrCode WriteBytes(const char* bytes, GSSize count) override;

private:
    void Reserve(GSSize needed);

    char* block = nullptr;
    GSSize dataSize = 0;
    GSSize capacity = 0;
    GSSize growth;
    MemoryAllocationMode mode;
};

// Reads from a block of bytes in memory.
class GSROOT_API MemoryIChannel32 : public IChannel {
public:
    // RetainOwnership: the channel reads `data` in place, which must outlive it. PassOwnership:
    // `data` is a GS::MemoryManager block that the channel frees when it goes. A memory channel
    // reads its block directly, so it neither needs nor uses an input buffer (`inputBuffer` and
    // `inputBufferSize` exist for the host's buffered channels); `mode` likewise does not matter to
    // a channel that never allocates. A negative size counts as 0.
    MemoryIChannel32(const void* data, GSSize size, OwnershipType ownership, char* inputBuffer,
                     GSSize inputBufferSize, MemoryAllocationMode mode);
    ~MemoryIChannel32() override;
    MemoryIChannel32(const MemoryIChannel32&) = delete;
    MemoryIChannel32& operator=(const MemoryIChannel32&) = delete;

    GSSize GetAvailable() const { return size - position; }

protected:
    const char* Remaining(GSSize& count) const override;
    void Advance(GSSize count) override;

private:
    const char* data;
    GSSize size;
    GSSize position = 0;
    OwnershipType ownership;
};

} // namespace GS
