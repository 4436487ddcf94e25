#pragma once

#include "GSTypes.hpp"
#include "InputOutputExport.hpp"
#include "Name.hpp"
#include "UniString.hpp"

namespace IO {

// A place in the file system, held as a native path: '/'-separated on POSIX; on Windows with a drive
// letter or UNC prefix and '\' separators ('/' given in a path is taken as '\'). A default location
// is empty and names nothing.
class INPUTOUTPUT_API Location {
public:
    Location();
    explicit Location(const GS::UniString& path);

    // Adds `name` as the last component. BadParameter for an empty location or name, or a name
    // holding a separator; the location is then unchanged.
    GSErrCode AppendToLocal(const Name& name);
    // Writes the native path text into `*path`. BadParameter for a null pointer.
    GSErrCode ToPath(GS::UniString* path) const;
    // The last component, or the empty name.
    Name GetLastLocalName() const;
    // Whether the path text can name something in this platform's file systems (see
    // PathLegality.hpp for the rules); nothing is looked up. Reported to the call monitor as
    // "IO::Location::IsLegalInNativeFileSystem"; a code the monitor answers reads as false.
    bool IsLegalInNativeFileSystem() const;

    bool IsEmpty() const { return path.IsEmpty(); }
    bool operator==(const Location& other) const;
    bool operator!=(const Location& other) const { return !(*this == other); }

private:
    GS::UniString path;
};

} // namespace IO
