#pragma once

#include "GSTypes.hpp"

#include <string>

// Whole-file reads and atomic replacement, for the store files of the file-backed registry.
namespace GS::StoreFile {

// Tells whether a file changed on disk since it was last read: a rename over it changes the file
// id and the change time, a rewrite in place the times or the size. The times are only as fine as
// the file system's clock, which moves in ticks: see IsSettled.
struct Stamp {
    bool exists = false;
    UInt64 device = 0;
    UInt64 inode = 0;
    Int64 modifiedSeconds = 0;
    Int64 modifiedNanoseconds = 0;
    Int64 changedSeconds = 0;
    Int64 changedNanoseconds = 0;
    Int64 size = 0;

    bool operator==(const Stamp&) const = default;
};

Stamp GetStamp(const std::string& path);

// The wall clock the file system stamps files with, in nanoseconds since the epoch.
Int64 WallClockNow();

// Whether an unchanged stamp proves an unchanged file, for a file whose stamp is `stamp` when a read
// of it began at `readStart` (WallClockNow). A write in the same clock tick as the last one can
// leave size and times as they were, and a file made in that tick can even reuse the inode of the
// file it replaced; only a file last changed well before the read is safe from both. Until then
// the reader compares the bytes instead.
bool IsSettled(const Stamp& stamp, Int64 readStart);

// False with `error` set when the file exists but cannot be read; a missing file reads as empty
// with `stamp.exists` false.
bool Read(const std::string& path, std::string& bytes, Stamp& stamp, std::string& error);

// Writes `bytes` to a new file beside `path`, flushes it to the disk, and renames it over `path`,
// so that a reader sees the old file or the new one, never a part. Refuses (false, `error` set)
// when `path` or its folder is marked read-only; no temporary file is left behind on any path.
bool WriteAtomically(const std::string& path, const std::string& bytes, std::string& error);

} // namespace GS::StoreFile
