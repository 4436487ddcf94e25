#pragma once

#include <optional>
#include <string>
#include <vector>

// A zip container as an .xlsx needs it: local headers, then the central directory, then its end
// record; every number little-endian. No zip64, so at most 65535 entries and 4 GiB per size or
// offset. Names are flagged UTF-8 (bit 11). Every entry carries the same fixed time stamp
// (1980-01-01 00:00) so that one model always gives the same bytes.
namespace SafWorkbook {

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true; // false: stored as is
};

struct ZipResult {
    std::string bytes;
    std::string error; // empty on success
};

ZipResult BuildZip(const std::vector<ZipEntry>& entries);

// Raw deflate (no zlib wrapper), as zip method 8 holds it. Empty optional when zlib refuses.
std::optional<std::string> Deflate(const std::string& data);

unsigned long Crc32(const std::string& data);

} // namespace SafWorkbook
