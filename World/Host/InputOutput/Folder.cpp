#include "Folder.hpp"

#include "CallReport.hpp"
#include "EntryKind.hpp"

namespace IO {

namespace {

GSErrCode Inspect(const Location& location, OnNotFound onNotFound) {
    GS::UniString path;
    location.ToPath(&path);
    if (path.IsEmpty()) {
        return GSErr::BadParameter;
    }
    switch (EntryKind::At(path)) {
    case EntryKind::Kind::Folder:
        return NoError;
    case EntryKind::Kind::Missing:
        return onNotFound == OnNotFound::AcceptMissing ? NoError : GSErr::NotFound;
    case EntryKind::Kind::File:
        break;
    }
    return GSErr::BadParameter;
}

} // namespace

Folder::Folder(const Location& folderLocation, OnNotFound onNotFound) : location(folderLocation) {
    constexpr const char* operation = "IO::Folder::Folder";
    GS::UniString path;
    location.ToPath(&path);
    status = CallReport::Begin(operation, [&] {
        return "location=" + CallReport::Quoted(path) +
               " onNotFound=" + std::to_string(static_cast<Int32>(onNotFound));
    });
    if (status == NoError) {
        status = Inspect(location, onNotFound);
    }
    CallReport::End(operation, [&] { return "status=" + std::to_string(status); });
}

} // namespace IO
