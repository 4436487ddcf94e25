#include "ZipWriter.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace SafWorkbook {
namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndOfDirectorySignature = 0x06054b50;
constexpr std::uint16_t VersionNeeded = 20; // 2.0: deflate
constexpr std::uint16_t Utf8NamesFlag = 0x0800;
constexpr std::uint16_t DosTime = 0;                       // 00:00:00
constexpr std::uint16_t DosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01

void Put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

struct PlacedEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

// The fields local and central headers share, from "version needed" to the name length.
void PutCommonFields(std::string& out, const PlacedEntry& entry) {
    Put16(out, VersionNeeded);
    Put16(out, Utf8NamesFlag);
    Put16(out, entry.method);
    Put16(out, DosTime);
    Put16(out, DosDate);
    Put32(out, entry.crc);
    Put32(out, entry.compressedSize);
    Put32(out, entry.size);
    Put16(out, static_cast<std::uint16_t>(entry.name.size()));
}

bool Fits32(std::size_t value) {
    return value <= std::numeric_limits<std::uint32_t>::max();
}

} // namespace

unsigned long Crc32(const std::string& data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    std::size_t done = 0;
    while (done < data.size()) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(data.size() - done, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + done), chunk);
        done += chunk;
    }
    return crc;
}

std::optional<std::string> Deflate(const std::string& data) {
    if (!Fits32(data.size())) {
        return std::nullopt;
    }
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return std::nullopt;
    }
    std::string output(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = deflate(&stream, Z_FINISH);
    const uLong written = stream.total_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        return std::nullopt;
    }
    output.resize(written);
    return output;
}

ZipResult BuildZip(const std::vector<ZipEntry>& entries) {
    if (entries.size() > std::numeric_limits<std::uint16_t>::max()) {
        return {{}, "too many entries for a zip without zip64"};
    }
    std::string out;
    std::vector<PlacedEntry> placed;
    for (const ZipEntry& entry : entries) {
        if (entry.name.empty() || entry.name.size() > std::numeric_limits<std::uint16_t>::max()) {
            return {{}, "entry name \"" + entry.name + "\" cannot be stored"};
        }
        std::optional<std::string> packed =
            entry.deflate ? Deflate(entry.data) : std::optional<std::string>(entry.data);
        if (!packed) {
            return {{}, "cannot compress " + entry.name};
        }
        if (!Fits32(entry.data.size()) || !Fits32(packed->size()) || !Fits32(out.size())) {
            return {{}, entry.name + " is too large for a zip without zip64"};
        }
        PlacedEntry header{entry.name,
                           static_cast<std::uint16_t>(entry.deflate ? 8 : 0),
                           static_cast<std::uint32_t>(Crc32(entry.data)),
                           static_cast<std::uint32_t>(packed->size()),
                           static_cast<std::uint32_t>(entry.data.size()),
                           static_cast<std::uint32_t>(out.size())};
        Put32(out, LocalHeaderSignature);
        PutCommonFields(out, header);
        Put16(out, 0); // extra field length
        out += entry.name;
        out += *packed;
        placed.push_back(std::move(header));
    }
    const std::size_t directoryOffset = out.size();
    for (const PlacedEntry& entry : placed) {
        Put32(out, CentralHeaderSignature);
        Put16(out, VersionNeeded); // version made by: MS-DOS attributes, 2.0
        PutCommonFields(out, entry);
        Put16(out, 0); // extra field length
        Put16(out, 0); // comment length
        Put16(out, 0); // disk number
        Put16(out, 0); // internal attributes
        Put32(out, 0); // external attributes
        Put32(out, entry.offset);
        out += entry.name;
    }
    const std::size_t directorySize = out.size() - directoryOffset;
    if (!Fits32(directoryOffset) || !Fits32(directorySize)) {
        return {{}, "workbook too large for a zip without zip64"};
    }
    Put32(out, EndOfDirectorySignature);
    Put16(out, 0); // this disk
    Put16(out, 0); // disk holding the directory
    Put16(out, static_cast<std::uint16_t>(placed.size()));
    Put16(out, static_cast<std::uint16_t>(placed.size()));
    Put32(out, static_cast<std::uint32_t>(directorySize));
    Put32(out, static_cast<std::uint32_t>(directoryOffset));
    Put16(out, 0); // comment length
    return {std::move(out), {}};
}

} // namespace SafWorkbook
