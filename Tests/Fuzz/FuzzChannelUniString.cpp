#include "ByteOrder/LittleEndian.hpp"
#include "ChannelFormat.hpp"
#include "Channels.hpp"
#include "FuzzCheck.hpp"
#include "MemoryManager.hpp"
#include "UniString.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// The UniString channel read, fed twice from each input:
//   - the input as a serialized string: a decode that succeeds consumed exactly header + 2n bytes,
//     and encoding what it decoded gives those bytes back (the encoding has one form per string);
//   - the input as UTF-16 units: the string written to a memory channel reads back equal, every
//     proper prefix of its bytes is refused with a non-zero code and an empty string, and no
//     memory-manager block outlives the round.
namespace {

using GS::ChannelFormat::DecodeUniString;
using GS::ChannelFormat::EncodeUniString;

void CheckDecodeOfRawBytes(const std::uint8_t* data, std::size_t size) {
    const auto decoded = DecodeUniString(data, size);
    if (decoded.result != NoError) {
        FUZZ_REQUIRE(decoded.units.empty() && decoded.consumed == 0, "a refused decode leaves nothing");
        return;
    }
    FUZZ_REQUIRE(decoded.consumed == GS::ChannelFormat::UniStringHeaderSize + 2 * decoded.units.size(),
                 "a decode consumes its header and two bytes per unit");
    FUZZ_REQUIRE(decoded.consumed <= size, "a decode never claims more bytes than it was given");
    const std::string again = EncodeUniString(decoded.units.data(), decoded.units.size());
    FUZZ_REQUIRE(again.size() == decoded.consumed && std::memcmp(again.data(), data, again.size()) == 0,
                 "re-encoding a decoded string gives the bytes it came from");
}

std::u16string UnitsOf(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    for (std::size_t index = 0; index < units.size(); ++index) {
        units[index] = static_cast<char16_t>(LittleEndian::Read16(data + 2 * index));
    }
    return units;
}

void CheckPrefixesRefused(const char* bytes, GSSize size) {
    for (GSSize length = 0; length < size; ++length) {
        const auto decoded =
            DecodeUniString(reinterpret_cast<const unsigned char*>(bytes), static_cast<std::size_t>(length));
        FUZZ_REQUIRE(decoded.result != NoError && decoded.units.empty() && decoded.consumed == 0,
                     "a proper prefix of an encoding is refused");
        GS::MemoryIChannel32 input(bytes, length, GS::RetainOwnership, nullptr, 0, GS::StandardAllocation);
        GS::UniString text(u"left over");
        FUZZ_REQUIRE(input.Read(text) != NoError, "a channel refuses a proper prefix");
        FUZZ_REQUIRE(text.IsEmpty() && input.GetAvailable() == length, "a refused read consumes nothing");
    }
}

void CheckWriteThenRead(const std::uint8_t* data, std::size_t size) {
    const std::u16string units = UnitsOf(data, size);
    const GS::UniString written(units.data(), static_cast<UIndex>(units.size()));
    GS::MemoryOChannel32 output(0, 0, (size & 1) != 0 ? GS::FixedGrowthAllocation : GS::StandardAllocation);
    FUZZ_REQUIRE(output.Write(written) == NoError, "writing to a memory channel succeeds");
    const GSSize byteCount = output.GetDataSize();
    const char* bytes = output.GetDestination(GS::RetainOwnership);
    const std::string expected = EncodeUniString(units.data(), units.size());
    FUZZ_REQUIRE(static_cast<std::size_t>(byteCount) == expected.size() &&
                     std::memcmp(bytes, expected.data(), expected.size()) == 0,
                 "the channel holds the string's serialization");

    GS::MemoryIChannel32 input(bytes, byteCount, GS::RetainOwnership, nullptr, 0, GS::StandardAllocation);
    GS::UniString read;
    FUZZ_REQUIRE(input.Read(read) == NoError, "a channel reads back what was written");
    FUZZ_REQUIRE(read == written && read.GetLength() == written.GetLength(), "the string read equals it");
    FUZZ_REQUIRE(input.GetAvailable() == 0, "the read consumes the whole serialization");
    FUZZ_REQUIRE(input.Read(read) != NoError && read.IsEmpty(), "an exhausted channel refuses a read");

    CheckPrefixesRefused(bytes, byteCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const UInt64 liveBefore = GS::MemoryManager::GetLiveBlockCount(GS::HostMemoryOwner);
    CheckDecodeOfRawBytes(data, size);
    CheckWriteThenRead(data, size);
    FUZZ_REQUIRE(GS::MemoryManager::GetLiveBlockCount(GS::HostMemoryOwner) == liveBefore,
                 "every memory-manager block is freed");
    return 0;
}
