#pragma once

#include "GSTypes.hpp"

#include <string>

// Whole-file reads and atomic replacement, for the store files of the file-backed registry.
namespace GS::StoreFile {

// Tells whether a file changed on disk since it was last read: a rename over it changes the file
// id, a rewrite in place the time or size.
struct Stamp {
    bool exists = false;
    UInt64 device = 0;
    UInt64 inode = 0;
    Int64 modifiedSeconds = 0;
    Int64 modifiedNanoseconds = 0;
    Int64 size = 0;

    bool operator==(const Stamp&) const = default;
};

Stamp GetStamp(const std::string& path);

// False with `error` set when the file exists but cannot be read; a missing file reads as empty
// with `stamp.exists` false.
bool Read(const std::string& path, std::string& bytes, Stamp& stamp, std::string& error);

// Writes `bytes` to a new file beside `path`, flushes it to the disk, and renames it over `path`,
// so that a reader sees the old file or the new one, never a part. Refuses (false, `error` set)
// when `path` or its folder is marked read-only; no temporary file is left behind on any path.
bool WriteAtomically(const std::string& path, const std::string& bytes, std::string& error);

} // namespace GS::StoreFile
