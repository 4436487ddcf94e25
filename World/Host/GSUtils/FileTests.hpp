#pragma once

#include "GSUtilsExport.hpp"
#include "Location.hpp"

// True when a regular file (not a folder) exists at `location`. On Windows a location of MAX_PATH
// units or more without the "\\?\" prefix holds no file, as Windows itself answers.
GSUTILS_API bool FileExists(const IO::Location& location);

// True when a file can be written at `location`, judged by the marks the file system keeps and
// never by trying (an administrator can write anything, so trying proves nothing), and without
// creating or changing anything. An existing file: true unless it carries the read-only mark (POSIX:
// no owner-write bit; Windows: FILE_ATTRIBUTE_READONLY). A folder or anything but a regular file at
// the location: false. Nothing there: true when the containing folder exists and its mark allows
// new files (POSIX: the folder's owner-write bit; Windows: any folder, since the read-only attribute
// of a folder only marks it as customised and does not keep files from being created in it).
// Reported to the call monitor as "CanCreateOrWriteFile"; a code the monitor answers reads as false.
GSUTILS_API bool CanCreateOrWriteFile(const IO::Location& location);
