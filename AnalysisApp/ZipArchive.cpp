#include "ZipArchive.hpp"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace AnalysisApp {
namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr std::size_t EndOfDirectorySize = 22;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t LocalHeaderSize = 30;
constexpr std::size_t LongestComment = 0xFFFF;

// Reads little-endian numbers at checked offsets; a read past the end yields nothing.
class ByteView {
public:
    explicit ByteView(std::string_view data) : bytes(data) {}

    bool Holds(std::size_t offset, std::size_t length) const {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    }
    std::uint16_t U16(std::size_t offset) const {
        return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
    }
    std::string_view Slice(std::size_t offset, std::size_t length) const {
        return Holds(offset, length) ? bytes.substr(offset, length) : std::string_view();
    }
    std::size_t Size() const { return bytes.size(); }

private:
    unsigned Byte(std::size_t offset) const {
        return offset < bytes.size() ? static_cast<unsigned char>(bytes[offset]) : 0u;
    }

    std::string_view bytes;
};

std::optional<std::size_t> FindEndOfDirectory(const ByteView& view) {
    if (view.Size() < EndOfDirectorySize) {
        return std::nullopt;
    }
    const std::size_t last = view.Size() - EndOfDirectorySize;
    const std::size_t first = last > LongestComment ? last - LongestComment : 0;
    for (std::size_t offset = last + 1; offset-- > first;) {
        if (view.U32(offset) == EndOfDirectorySignature &&
            offset + EndOfDirectorySize + view.U16(offset + 20) <= view.Size()) {
            return offset;
        }
    }
    return std::nullopt;
}

std::optional<std::string> Inflate(std::string_view packed, std::size_t size) {
    std::string output(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    // One spare byte: a stream that holds more than the declared size shows itself by filling it.
    char spare = 0;
    stream.next_out = reinterpret_cast<Bytef*>(size == 0 ? &spare : output.data());
    stream.avail_out = static_cast<uInt>(size == 0 ? 1 : size);
    int result = inflate(&stream, Z_FINISH);
    if (result != Z_STREAM_END && stream.avail_out == 0 && size != 0) {
        stream.next_out = reinterpret_cast<Bytef*>(&spare);
        stream.avail_out = 1;
        result = inflate(&stream, Z_FINISH);
    }
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced != size) {
        return std::nullopt;
    }
    return output;
}

} // namespace

ZipListing ListZip(std::string_view bytes) {
    const ByteView view(bytes);
    const std::optional<std::size_t> end = FindEndOfDirectory(view);
    if (!end) {
        return {{}, "not a zip file (no end of central directory)"};
    }
    const std::size_t count = view.U16(*end + 10);
    const std::uint32_t directorySize = view.U32(*end + 12);
    const std::uint32_t directoryOffset = view.U32(*end + 16);
    if (directoryOffset == 0xFFFFFFFF || count == 0xFFFF) {
        return {{}, "zip64 archives are not supported"};
    }
    if (!view.Holds(directoryOffset, directorySize)) {
        return {{}, "central directory lies outside the file"};
    }
    ZipListing listing;
    std::size_t offset = directoryOffset;
    const std::size_t directoryEnd = std::size_t{directoryOffset} + directorySize;
    for (std::size_t index = 0; index < count; ++index) {
        if (offset + CentralHeaderSize > directoryEnd || view.U32(offset) != CentralHeaderSignature) {
            return {{}, "central directory entry " + std::to_string(index) + " is damaged"};
        }
        const std::size_t nameLength = view.U16(offset + 28);
        const std::size_t variableLength = nameLength + view.U16(offset + 30) + view.U16(offset + 32);
        if (offset + CentralHeaderSize + variableLength > directoryEnd) {
            return {{}, "central directory entry " + std::to_string(index) + " runs past the directory"};
        }
        ZipMember member;
        member.flags = view.U16(offset + 8);
        member.method = view.U16(offset + 10);
        member.crc = view.U32(offset + 16);
        member.compressedSize = view.U32(offset + 20);
        member.size = view.U32(offset + 24);
        member.localHeaderOffset = view.U32(offset + 42);
        member.name = std::string(view.Slice(offset + CentralHeaderSize, nameLength));
        std::replace(member.name.begin(), member.name.end(), '\\', '/');
        listing.members.push_back(std::move(member));
        offset += CentralHeaderSize + variableLength;
    }
    return listing;
}

ZipExtraction ExtractZipMember(std::string_view bytes, const ZipMember& member, std::size_t sizeLimit) {
    const ByteView view(bytes);
    const std::string name = member.name;
    if ((member.flags & 0x0001) != 0) {
        return {std::nullopt, name + " is encrypted"};
    }
    if (member.size > sizeLimit) {
        return {std::nullopt, name + " is larger than " + std::to_string(sizeLimit) + " bytes"};
    }
    const std::size_t header = member.localHeaderOffset;
    if (!view.Holds(header, LocalHeaderSize) || view.U32(header) != LocalHeaderSignature) {
        return {std::nullopt, name + ": local header missing"};
    }
    const std::size_t dataOffset = header + LocalHeaderSize + view.U16(header + 26) + view.U16(header + 28);
    if (!view.Holds(dataOffset, member.compressedSize)) {
        return {std::nullopt, name + ": data lies outside the file"};
    }
    const std::string_view packed = view.Slice(dataOffset, member.compressedSize);
    std::optional<std::string> data;
    if (member.method == 0) {
        if (member.compressedSize != member.size) {
            return {std::nullopt, name + ": stored sizes disagree"};
        }
        data = std::string(packed);
    } else if (member.method == 8) {
        data = Inflate(packed, member.size);
        if (!data) {
            return {std::nullopt, name + ": deflate data is damaged"};
        }
    } else {
        return {std::nullopt,
                name + ": compression method " + std::to_string(member.method) + " is not supported"};
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data->data()), static_cast<uInt>(data->size()));
    if (crc != member.crc) {
        return {std::nullopt, name + ": CRC-32 does not match"};
    }
    return {std::move(data), {}};
}

const ZipMember* FindZipMember(const ZipListing& listing, std::string_view name) {
    const auto exact = std::find_if(listing.members.begin(), listing.members.end(),
                                    [&](const ZipMember& member) { return member.name == name; });
    if (exact != listing.members.end()) {
        return &*exact;
    }
    const auto sameLetters = [&](const ZipMember& member) {
        return std::equal(member.name.begin(), member.name.end(), name.begin(), name.end(),
                          [](char left, char right) {
                              return std::tolower(static_cast<unsigned char>(left)) ==
                                     std::tolower(static_cast<unsigned char>(right));
                          });
    };
    const auto folded = std::find_if(listing.members.begin(), listing.members.end(), sameLetters);
    return folded == listing.members.end() ? nullptr : &*folded;
}

} // namespace AnalysisApp
