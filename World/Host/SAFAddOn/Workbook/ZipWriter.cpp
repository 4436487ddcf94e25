#include "ZipWriter.hpp"

#include "ZipStreamWriter.hpp"

#include <zlib.h>

#include <algorithm>

namespace SafWorkbook {

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

ZipResult BuildZip(const std::vector<ZipEntry>& entries) {
    std::string bytes;
    StringSink sink(bytes);
    ZipStreamWriter zip(sink);
    for (const ZipEntry& entry : entries) {
        ZipEntryOptions options;
        options.deflate = entry.deflate;
        if (!zip.BeginEntry(entry.name, options) || !zip.Write(entry.data) || !zip.EndEntry()) {
            return {{}, zip.Error()};
        }
    }
    if (!zip.Finish()) {
        return {{}, zip.Error()};
    }
    return {std::move(bytes), {}};
}

} // namespace SafWorkbook
