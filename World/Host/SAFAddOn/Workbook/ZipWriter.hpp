#pragma once

#include <string>
#include <vector>

// A whole zip container built in memory from entries held in memory, for small packages; the
// workbook itself streams through ZipStreamWriter.
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

unsigned long Crc32(const std::string& data);

} // namespace SafWorkbook
