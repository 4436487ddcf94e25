#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a zip container held in memory. Every offset and length comes from the bytes themselves,
// so each is checked against the buffer before it is used: a damaged or hostile file gives an error,
// never a read outside `bytes`.
namespace AnalysisApp {

struct ZipMember {
    std::string name; // as stored, with any '\' turned into '/'
    std::uint16_t flags = 0;
    std::uint16_t method = 0; // 0 stored, 8 deflate
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localHeaderOffset = 0;
};

struct ZipListing {
    std::vector<ZipMember> members;
    std::string error; // empty when the central directory was read
};

ZipListing ListZip(std::string_view bytes);

struct ZipExtraction {
    std::optional<std::string> data;
    std::string error;
};

// The member's bytes, inflated when deflated and checked against its size and CRC-32. Members larger
// than `sizeLimit` are refused before anything is allocated.
ZipExtraction ExtractZipMember(std::string_view bytes, const ZipMember& member, std::size_t sizeLimit);

// The member with exactly this name, or else the only one whose name matches ignoring ASCII case.
const ZipMember* FindZipMember(const ZipListing& listing, std::string_view name);

} // namespace AnalysisApp
