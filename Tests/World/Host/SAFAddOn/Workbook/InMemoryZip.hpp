#pragma once

#include <string>
#include <vector>

// A whole zip container built in memory from entries held in memory, through the workbook's own
// ZipStreamWriter: the tests' way to make small packages, good or deliberately foreign.
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

} // namespace SafWorkbook
