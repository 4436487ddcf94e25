#include "ZipStreamWriter.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace SafWorkbook {
namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr std::uint32_t Zip64EndOfDirectorySignature = 0x06064b50;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::uint16_t VersionNeeded = 20;      // 2.0: deflate
constexpr std::uint16_t VersionNeededZip64 = 45; // 4.5: zip64 records
constexpr std::uint16_t Utf8NamesFlag = 0x0800;
constexpr std::uint16_t DosTime = 0;                       // 00:00:00
constexpr std::uint16_t DosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01
constexpr std::uint16_t Zip64ExtraId = 0x0001;
// The extra field id that zip aligners use for padding; every reader skips ids it does not know.
constexpr std::uint16_t PaddingExtraId = 0xD935;
constexpr std::size_t ReservedExtraSize = 20;
constexpr std::uint32_t Max32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint16_t Max16 = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t OutputChunk = 64 * 1024;

using LittleEndian::Append16;
using LittleEndian::Append32;

void Put64(std::string& out, std::uint64_t value) {
    Append32(out, static_cast<std::uint32_t>(value & Max32));
    Append32(out, static_cast<std::uint32_t>(value >> 32));
}

std::uint32_t Clamp32(std::uint64_t value) {
    return value > Max32 ? Max32 : static_cast<std::uint32_t>(value);
}

} // namespace

// zlib's raw deflate state for the entry being written.
struct ZipStreamWriter::Compressor {
    z_stream stream{};
    bool open = false;
    std::string output = std::string(OutputChunk, '\0');

    ~Compressor() {
        if (open) {
            deflateEnd(&stream);
        }
    }
};

ZipStreamWriter::ZipStreamWriter(ByteSink& target)
    : sink(target), compressor(std::make_unique<Compressor>()) {}

ZipStreamWriter::~ZipStreamWriter() = default;

bool ZipStreamWriter::Fail(std::string reason) {
    if (error.empty()) {
        error = std::move(reason);
    }
    return false;
}

bool ZipStreamWriter::BeginEntry(const std::string& name, const ZipEntryOptions& options) {
    if (!error.empty()) {
        return false;
    }
    if (name.empty() || name.size() > Max16) {
        return Fail("entry name \"" + name + "\" cannot be stored");
    }
    current = Placed{name, static_cast<std::uint16_t>(options.deflate ? 8 : 0), 0, 0, 0, sink.Size()};
    currentOptions = options;
    current.crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    if (options.deflate) {
        compressor->stream = z_stream{};
        if (deflateInit2(&compressor->stream, options.level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
            Z_OK) {
            return Fail("cannot compress " + name);
        }
        compressor->open = true;
    }
    std::string header;
    Append32(header, LocalHeaderSignature);
    Append16(header, VersionNeeded);
    Append16(header, Utf8NamesFlag);
    Append16(header, current.method);
    Append16(header, DosTime);
    Append16(header, DosDate);
    Append32(header, 0); // CRC-32, compressed size and size follow the data
    Append32(header, 0);
    Append32(header, 0);
    Append16(header, static_cast<std::uint16_t>(name.size()));
    Append16(header, static_cast<std::uint16_t>(options.mayExceed4GiB ? ReservedExtraSize : 0));
    header += name;
    if (options.mayExceed4GiB) {
        Append16(header, PaddingExtraId);
        Append16(header, ReservedExtraSize - 4);
        header.append(ReservedExtraSize - 4, '\0');
    }
    sink.Append(header);
    inEntry = true;
    return sink.Good() || Fail("cannot write " + name);
}

void ZipStreamWriter::PutPacked(std::string_view packed) {
    sink.Append(packed);
    current.compressedSize += packed.size();
}

bool ZipStreamWriter::Write(std::string_view data) {
    if (!error.empty() || !inEntry) {
        return Fail("no entry to write to");
    }
    current.size += data.size();
    while (!data.empty()) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(data.size(), 1u << 30));
        current.crc = static_cast<std::uint32_t>(
            crc32(current.crc, reinterpret_cast<const Bytef*>(data.data()), piece));
        if (current.method == 0) {
            PutPacked(data.substr(0, piece));
        } else {
            z_stream& stream = compressor->stream;
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
            stream.avail_in = piece;
            while (stream.avail_in > 0) {
                stream.next_out = reinterpret_cast<Bytef*>(compressor->output.data());
                stream.avail_out = static_cast<uInt>(compressor->output.size());
                if (deflate(&stream, Z_NO_FLUSH) == Z_STREAM_ERROR) {
                    return Fail("cannot compress " + current.name);
                }
                PutPacked(std::string_view(compressor->output.data(),
                                           compressor->output.size() - stream.avail_out));
            }
        }
        data.remove_prefix(piece);
    }
    return sink.Good() || Fail("cannot write " + current.name);
}

bool ZipStreamWriter::EndEntry() {
    if (!error.empty() || !inEntry) {
        return Fail("no entry to end");
    }
    inEntry = false;
    if (current.method == 8) {
        z_stream& stream = compressor->stream;
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            stream.next_out = reinterpret_cast<Bytef*>(compressor->output.data());
            stream.avail_out = static_cast<uInt>(compressor->output.size());
            result = deflate(&stream, Z_FINISH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                return Fail("cannot compress " + current.name);
            }
            PutPacked(
                std::string_view(compressor->output.data(), compressor->output.size() - stream.avail_out));
        }
        deflateEnd(&stream);
        compressor->open = false;
    }
    const bool large = current.size > Max32 || current.compressedSize > Max32;
    if (large && !currentOptions.mayExceed4GiB) {
        return Fail(current.name + " is too large for its zip entry");
    }
    std::string sizes;
    Append32(sizes, current.crc);
    Append32(sizes, large ? Max32 : static_cast<std::uint32_t>(current.compressedSize));
    Append32(sizes, large ? Max32 : static_cast<std::uint32_t>(current.size));
    sink.Overwrite(current.offset + 14, sizes);
    if (large) {
        std::string version;
        Append16(version, VersionNeededZip64);
        sink.Overwrite(current.offset + 4, version);
        std::string extra;
        Append16(extra, Zip64ExtraId);
        Append16(extra, 16);
        Put64(extra, current.size);
        Put64(extra, current.compressedSize);
        sink.Overwrite(current.offset + 30 + current.name.size(), extra);
    }
    placed.push_back(std::move(current));
    return sink.Good() || Fail("cannot write " + placed.back().name);
}

void ZipStreamWriter::WriteCentralEntry(const Placed& entry, std::string& out) const {
    std::string zip64;
    if (entry.size > Max32) {
        Put64(zip64, entry.size);
    }
    if (entry.compressedSize > Max32) {
        Put64(zip64, entry.compressedSize);
    }
    if (entry.offset > Max32) {
        Put64(zip64, entry.offset);
    }
    const std::uint16_t version = zip64.empty() ? VersionNeeded : VersionNeededZip64;
    Append32(out, CentralHeaderSignature);
    Append16(out, version); // version made by: MS-DOS attributes
    Append16(out, version);
    Append16(out, Utf8NamesFlag);
    Append16(out, entry.method);
    Append16(out, DosTime);
    Append16(out, DosDate);
    Append32(out, entry.crc);
    Append32(out, Clamp32(entry.compressedSize));
    Append32(out, Clamp32(entry.size));
    Append16(out, static_cast<std::uint16_t>(entry.name.size()));
    Append16(out, static_cast<std::uint16_t>(zip64.empty() ? 0 : zip64.size() + 4));
    Append16(out, 0); // comment length
    Append16(out, 0); // disk number
    Append16(out, 0); // internal attributes
    Append32(out, 0); // external attributes
    Append32(out, Clamp32(entry.offset));
    out += entry.name;
    if (!zip64.empty()) {
        Append16(out, Zip64ExtraId);
        Append16(out, static_cast<std::uint16_t>(zip64.size()));
        out += zip64;
    }
}

void ZipStreamWriter::WriteEndRecords(std::uint64_t directoryOffset, std::uint64_t directorySize,
                                      std::string& out) const {
    const std::uint64_t count = placed.size();
    if (count >= Max16 || directoryOffset >= Max32 || directorySize >= Max32) {
        const std::uint64_t zip64EndOffset = directoryOffset + directorySize;
        Append32(out, Zip64EndOfDirectorySignature);
        Put64(out, 44); // the record's size after this field
        Append16(out, VersionNeededZip64);
        Append16(out, VersionNeededZip64);
        Append32(out, 0); // this disk
        Append32(out, 0); // disk holding the directory
        Put64(out, count);
        Put64(out, count);
        Put64(out, directorySize);
        Put64(out, directoryOffset);
        Append32(out, Zip64LocatorSignature);
        Append32(out, 0); // disk holding the zip64 end record
        Put64(out, zip64EndOffset);
        Append32(out, 1); // number of disks
    }
    Append32(out, EndOfDirectorySignature);
    Append16(out, 0); // this disk
    Append16(out, 0); // disk holding the directory
    Append16(out, count >= Max16 ? Max16 : static_cast<std::uint16_t>(count));
    Append16(out, count >= Max16 ? Max16 : static_cast<std::uint16_t>(count));
    Append32(out, directorySize >= Max32 ? Max32 : static_cast<std::uint32_t>(directorySize));
    Append32(out, directoryOffset >= Max32 ? Max32 : static_cast<std::uint32_t>(directoryOffset));
    Append16(out, 0); // comment length
}

bool ZipStreamWriter::Finish() {
    if (!error.empty()) {
        return false;
    }
    if (inEntry) {
        return Fail("an entry is still open");
    }
    const std::uint64_t directoryOffset = sink.Size();
    std::string directory;
    for (const Placed& entry : placed) {
        WriteCentralEntry(entry, directory);
    }
    std::string end;
    WriteEndRecords(directoryOffset, directory.size(), end);
    sink.Append(directory);
    sink.Append(end);
    return sink.Good() || Fail("cannot write the zip directory");
}

std::vector<ZipEntrySize> ZipStreamWriter::EntrySizes() const {
    std::vector<ZipEntrySize> sizes;
    sizes.reserve(placed.size());
    for (const Placed& entry : placed) {
        sizes.push_back({entry.name, entry.size});
    }
    return sizes;
}

} // namespace SafWorkbook
