#pragma once

#include "GSTypes.hpp"
#include "InputOutputExport.hpp"
#include "Location.hpp"
#include "OnNotFound.hpp"

namespace IO {

// A folder at a location. Building one looks at the file system once and never creates anything;
// the object keeps a copy of the location whatever it found there.
class INPUTOUTPUT_API Folder {
public:
    // Reported to the call monitor as "IO::Folder::Folder"; a code the monitor answers becomes the status.
    Folder(const Location& location, OnNotFound onNotFound);

    // NoError when the location names a folder, or nothing and `onNotFound` accepts that;
    // GSErr::NotFound when nothing is there and it does not; GSErr::BadParameter for an empty
    // location or one that names something other than a folder.
    GSErrCode GetStatus() const { return status; }
    // The location the folder was built on, also when the status is an error.
    const Location& GetLocation() const { return location; }

private:
    Location location;
    GSErrCode status;
};

} // namespace IO
