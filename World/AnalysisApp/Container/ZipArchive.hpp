#pragma once

#include "Container/ByteSource.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a zip container, zip64 included. Every offset and length comes from the bytes themselves,
// so each is checked before it is used: a damaged or hostile file gives an error, never a read
// outside the source. Members are read piece by piece, so their size costs no memory.
namespace AnalysisApp {

struct ZipMember {
    std::string name; // as stored, with any '\' turned into '/'
    std::uint16_t flags = 0;
    std::uint16_t method = 0; // 0 stored, 8 deflate
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0;
};

struct ZipListing {
    std::vector<ZipMember> members;
    std::string error; // empty when the central directory was read
};

ZipListing ListZip(const ByteSource& source);
ZipListing ListZip(std::string_view bytes);

// One member's data, inflated when deflated, in pieces; once the last piece is out, its size and
// CRC-32 have been checked against the directory's.
class ZipMemberReader {
public:
    ZipMemberReader(const ByteSource& source, const ZipMember& member);
    ~ZipMemberReader();
    ZipMemberReader(const ZipMemberReader&) = delete;
    ZipMemberReader& operator=(const ZipMemberReader&) = delete;

    // Appends the next piece to `out`; false at the end of the data or on an error (then Error()).
    bool ReadMore(std::string& out);
    const std::string& Error() const { return error; }

private:
    struct Inflater;

    bool Start();
    bool Fail(const std::string& reason);
    bool Finish();

    const ByteSource& source;
    ZipMember member;
    std::unique_ptr<Inflater> inflater;
    std::uint64_t dataOffset = 0;
    std::uint64_t packedRead = 0;
    std::uint64_t produced = 0;
    std::uint32_t crc = 0;
    bool started = false;
    bool finished = false;
    bool inflateEnded = false;
    std::string error;
};

struct ZipExtraction {
    std::optional<std::string> data;
    std::string error;
};

// The member's bytes as a whole, for small parts. Members larger than `sizeLimit` are refused before
// anything is read.
ZipExtraction ExtractZipMember(const ByteSource& source, const ZipMember& member, std::size_t sizeLimit);
ZipExtraction ExtractZipMember(std::string_view bytes, const ZipMember& member, std::size_t sizeLimit);

// The member with exactly this name, or else the only one whose name matches ignoring ASCII case.
const ZipMember* FindZipMember(const ZipListing& listing, std::string_view name);

} // namespace AnalysisApp
