#include "Container/ZipArchive.hpp"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace AnalysisApp {
namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr std::uint32_t Zip64EndOfDirectorySignature = 0x06064b50;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::size_t EndOfDirectorySize = 22;
constexpr std::size_t Zip64LocatorSize = 20;
constexpr std::size_t Zip64EndOfDirectorySize = 56;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t LocalHeaderSize = 30;
constexpr std::size_t LongestComment = 0xFFFF;
constexpr std::uint16_t Zip64ExtraId = 0x0001;
constexpr std::uint32_t Max32 = 0xFFFFFFFF;
constexpr std::size_t PieceSize = 64 * 1024;
// Limits that no workbook part reaches (the parts of a million-member workbook inflate to a few
// hundred MB, XML deflates about 5 to 30 times), so that a few KB cannot stand for gigabytes.
constexpr std::uint64_t MaxPartBytes = std::uint64_t{4} << 30;
constexpr std::uint64_t MaxRatio = 256;
constexpr std::uint64_t RatioFreeBytes = std::uint64_t{1} << 20;

// Little-endian numbers at checked offsets of a buffer; a read past the end yields 0.
class ByteView {
public:
    explicit ByteView(std::string_view data) : bytes(data) {}

    bool Holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    }
    std::uint16_t U16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
    }
    std::uint32_t U32(std::uint64_t offset) const {
        return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
    }
    std::uint64_t U64(std::uint64_t offset) const {
        return static_cast<std::uint64_t>(U32(offset)) | (static_cast<std::uint64_t>(U32(offset + 4)) << 32);
    }
    std::string_view Slice(std::uint64_t offset, std::uint64_t length) const {
        return Holds(offset, length)
                   ? bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length))
                   : std::string_view();
    }
    std::size_t Size() const { return bytes.size(); }

private:
    unsigned Byte(std::uint64_t offset) const {
        return offset < bytes.size() ? static_cast<unsigned char>(bytes[static_cast<std::size_t>(offset)])
                                     : 0u;
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

struct Directory {
    std::uint64_t count = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::string error;
};

// The directory's place from the end records: the classic record, or the zip64 record its locator
// points to when a field of the classic one is saturated.
Directory LocateDirectory(const ByteSource& source) {
    const std::uint64_t tailSize =
        std::min<std::uint64_t>(source.Size(), EndOfDirectorySize + LongestComment + Zip64LocatorSize);
    std::string tail;
    if (!source.ReadAt(source.Size() - tailSize, static_cast<std::size_t>(tailSize), tail)) {
        return {0, 0, 0, "cannot read the end of the file"};
    }
    const ByteView view(tail);
    const std::optional<std::size_t> end = FindEndOfDirectory(view);
    if (!end) {
        return {0, 0, 0, "not a zip file (no end of central directory)"};
    }
    Directory directory{view.U16(*end + 10), view.U32(*end + 12), view.U32(*end + 16), {}};
    if (directory.count != 0xFFFF && directory.size != Max32 && directory.offset != Max32) {
        return directory;
    }
    if (*end < Zip64LocatorSize || view.U32(*end - Zip64LocatorSize) != Zip64LocatorSignature) {
        return {0, 0, 0, "zip64 end record missing"};
    }
    const std::uint64_t recordOffset = view.U64(*end - Zip64LocatorSize + 8);
    std::string record;
    if (!source.ReadAt(recordOffset, Zip64EndOfDirectorySize, record) ||
        ByteView(record).U32(0) != Zip64EndOfDirectorySignature) {
        return {0, 0, 0, "zip64 end record damaged"};
    }
    const ByteView zip64(record);
    return {zip64.U64(32), zip64.U64(40), zip64.U64(48), {}};
}

// Replaces the saturated 32-bit fields of a central entry with the 64-bit ones of its zip64 extra
// field, in the order the format gives them.
bool ApplyZip64Extra(std::string_view extra, ZipMember& member, bool offsetSaturated) {
    const ByteView view(extra);
    std::uint64_t at = 0;
    while (view.Holds(at, 4)) {
        const std::uint16_t id = view.U16(at);
        const std::uint16_t length = view.U16(at + 2);
        if (!view.Holds(at + 4, length)) {
            return false;
        }
        if (id == Zip64ExtraId) {
            std::uint64_t field = at + 4;
            const std::uint64_t end = field + length;
            for (std::uint64_t* value : {&member.size, &member.compressedSize, &member.localHeaderOffset}) {
                const bool saturated = value == &member.localHeaderOffset ? offsetSaturated : *value == Max32;
                if (saturated) {
                    if (field + 8 > end) {
                        return false;
                    }
                    *value = view.U64(field);
                    field += 8;
                }
            }
            return true;
        }
        at += 4 + length;
    }
    return member.size != Max32 && member.compressedSize != Max32 && !offsetSaturated;
}

} // namespace

ZipListing ListZip(const ByteSource& source) {
    const Directory place = LocateDirectory(source);
    if (!place.error.empty()) {
        return {{}, place.error};
    }
    std::string directory;
    if (place.offset > source.Size() || place.size > source.Size() - place.offset ||
        !source.ReadAt(place.offset, static_cast<std::size_t>(place.size), directory)) {
        return {{}, "central directory lies outside the file"};
    }
    if (place.count > directory.size() / CentralHeaderSize) {
        return {{}, "central directory is shorter than its entries"};
    }
    const ByteView view(directory);
    ZipListing listing;
    std::uint64_t offset = 0;
    for (std::uint64_t index = 0; index < place.count; ++index) {
        if (!view.Holds(offset, CentralHeaderSize) || view.U32(offset) != CentralHeaderSignature) {
            return {{}, "central directory entry " + std::to_string(index) + " is damaged"};
        }
        const std::size_t nameLength = view.U16(offset + 28);
        const std::size_t extraLength = view.U16(offset + 30);
        const std::size_t variableLength = nameLength + extraLength + view.U16(offset + 32);
        if (!view.Holds(offset + CentralHeaderSize, variableLength)) {
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
        const bool offsetSaturated = member.localHeaderOffset == Max32;
        if (!ApplyZip64Extra(view.Slice(offset + CentralHeaderSize + nameLength, extraLength), member,
                             offsetSaturated)) {
            return {{}, "central directory entry " + std::to_string(index) + " lacks its zip64 sizes"};
        }
        listing.members.push_back(std::move(member));
        offset += CentralHeaderSize + variableLength;
    }
    return listing;
}

ZipListing ListZip(std::string_view bytes) {
    return ListZip(MemorySource(bytes));
}

struct ZipMemberReader::Inflater {
    z_stream stream{};
    bool open = false;
    std::string packed;
    std::string output = std::string(PieceSize, '\0');

    ~Inflater() {
        if (open) {
            inflateEnd(&stream);
        }
    }
};

ZipMemberReader::ZipMemberReader(const ByteSource& bytes, const ZipMember& read)
    : source(bytes), member(read), inflater(std::make_unique<Inflater>()) {}

ZipMemberReader::~ZipMemberReader() = default;

bool ZipMemberReader::Fail(const std::string& reason) {
    if (error.empty()) {
        error = member.name + reason;
    }
    finished = true;
    return false;
}

bool ZipMemberReader::Start() {
    started = true;
    if ((member.flags & 0x0001) != 0) {
        return Fail(" is encrypted");
    }
    if (member.method != 0 && member.method != 8) {
        return Fail(": compression method " + std::to_string(member.method) + " is not supported");
    }
    if (member.method == 0 && member.compressedSize != member.size) {
        return Fail(": stored sizes disagree");
    }
    if (member.size > MaxPartBytes ||
        (member.size > RatioFreeBytes &&
         member.size / std::max<std::uint64_t>(member.compressedSize, 1) > MaxRatio)) {
        return Fail(" would inflate to " + std::to_string(member.size) + " bytes from " +
                    std::to_string(member.compressedSize) + ", more than any workbook part (at most " +
                    std::to_string(MaxPartBytes >> 30) + " GiB, " + std::to_string(MaxRatio) + " times)");
    }
    std::string header;
    if (!source.ReadAt(member.localHeaderOffset, LocalHeaderSize, header) ||
        ByteView(header).U32(0) != LocalHeaderSignature) {
        return Fail(": local header missing");
    }
    dataOffset =
        member.localHeaderOffset + LocalHeaderSize + ByteView(header).U16(26) + ByteView(header).U16(28);
    if (dataOffset > source.Size() || member.compressedSize > source.Size() - dataOffset) {
        return Fail(": data lies outside the file");
    }
    crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    if (member.method == 8) {
        if (inflateInit2(&inflater->stream, -MAX_WBITS) != Z_OK) {
            return Fail(": cannot inflate");
        }
        inflater->open = true;
    }
    return true;
}

bool ZipMemberReader::Finish() {
    finished = true;
    if (produced != member.size) {
        return Fail(member.method == 8 ? ": deflate data is damaged" : ": stored sizes disagree");
    }
    if (crc != member.crc) {
        return Fail(": CRC-32 does not match");
    }
    return false;
}

bool ZipMemberReader::ReadMore(std::string& out) {
    if (finished || (!started && !Start())) {
        return false;
    }
    const auto take = [&](const char* data, std::size_t length) {
        crc = static_cast<std::uint32_t>(
            crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(length)));
        produced += length;
        out.append(data, length);
    };
    if (member.method == 0) {
        const std::uint64_t left = member.compressedSize - packedRead;
        if (left == 0) {
            return Finish();
        }
        std::string piece;
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(left, PieceSize));
        if (!source.ReadAt(dataOffset + packedRead, length, piece)) {
            return Fail(": data lies outside the file");
        }
        packedRead += length;
        take(piece.data(), piece.size());
        return true;
    }
    if (inflateEnded) {
        return Finish();
    }
    z_stream& stream = inflater->stream;
    for (;;) {
        if (stream.avail_in == 0) {
            const std::uint64_t left = member.compressedSize - packedRead;
            const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(left, PieceSize));
            if (length == 0 || !source.ReadAt(dataOffset + packedRead, length, inflater->packed)) {
                return Fail(": deflate data is damaged");
            }
            packedRead += length;
            stream.next_in = reinterpret_cast<Bytef*>(inflater->packed.data());
            stream.avail_in = static_cast<uInt>(length);
        }
        stream.next_out = reinterpret_cast<Bytef*>(inflater->output.data());
        stream.avail_out = static_cast<uInt>(inflater->output.size());
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
            return Fail(": deflate data is damaged");
        }
        const std::size_t length = inflater->output.size() - stream.avail_out;
        if (produced + length > member.size) {
            return Fail(": holds more than its stated size");
        }
        take(inflater->output.data(), length);
        if (result == Z_STREAM_END) {
            inflateEnded = true;
            return length > 0 ? true : Finish();
        }
        if (length > 0) {
            return true;
        }
        if (result == Z_BUF_ERROR && stream.avail_in != 0) {
            return Fail(": deflate data is damaged");
        }
    }
}

ZipExtraction ExtractZipMember(const ByteSource& source, const ZipMember& member, std::size_t sizeLimit) {
    if (member.size > sizeLimit) {
        return {std::nullopt, member.name + " is larger than " + std::to_string(sizeLimit) + " bytes"};
    }
    ZipMemberReader reader(source, member);
    std::string data;
    while (reader.ReadMore(data)) {
    }
    if (!reader.Error().empty()) {
        return {std::nullopt, reader.Error()};
    }
    return {std::move(data), {}};
}

ZipExtraction ExtractZipMember(std::string_view bytes, const ZipMember& member, std::size_t sizeLimit) {
    return ExtractZipMember(MemorySource(bytes), member, sizeLimit);
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
