#pragma once

#include "Folder.hpp"
#include "GSTypes.hpp"
#include "InputOutputExport.hpp"
#include "Location.hpp"
#include "Name.hpp"
#include "OnNotFound.hpp"

namespace IO {

// A file at a location. Building one looks at the file system once and never creates, opens or
// truncates anything; the object keeps a copy of its location whatever it found there.
class INPUTOUTPUT_API File {
public:
    // The file `name` inside `folder`. The location is composed whenever the folder's location is
    // not empty and `name` is a single non-empty name, also when the folder itself is missing or
    // failed; the status then carries the folder's error. Reported as "IO::File::File".
    File(const Folder& folder, const Name& name, OnNotFound onNotFound);
    // The file at `location`. Reported as "IO::File::File".
    File(const Location& location, OnNotFound onNotFound);

    // NoError when the location names a file (anything but a folder), or nothing and `onNotFound`
    // accepts that; GSErr::NotFound when nothing is there and it does not; GSErr::BadParameter for an
    // empty location, a bad name, or a folder at the location; the folder's status when that failed;
    // a code the call monitor answered.
    GSErrCode GetStatus() const { return status; }
    // The file's location: empty only when it could not be composed.
    Location GetLocation() const { return location; }

private:
    Location location;
    GSErrCode status;
};

} // namespace IO
