#include "File.hpp"

#include "CallReport.hpp"
#include "EntryKind.hpp"
#include "NativePath.hpp"

namespace IO {

namespace {

constexpr const char* operation = "IO::File::File";

bool IsSingleName(const GS::UniString& name) {
    if (name.IsEmpty()) {
        return false;
    }
    for (UIndex i = 0; i < name.GetLength(); ++i) {
        if (NativePath::IsSeparator(name[i])) {
            return false;
        }
    }
    return true;
}

// Composed here rather than with Location::AppendToLocal, which would report a call of its own.
Location Compose(const Location& folder, const Name& name) {
    GS::UniString path;
    folder.ToPath(&path);
    const GS::UniString& text = name.ToUniString();
    if (path.IsEmpty() || !IsSingleName(text)) {
        return Location();
    }
    if (!NativePath::IsSeparator(path[path.GetLength() - 1])) {
        path += NativePath::Separator();
    }
    return Location(path + text);
}

GSErrCode Inspect(const GS::UniString& path, OnNotFound onNotFound) {
    if (path.IsEmpty()) {
        return GSErr::BadParameter;
    }
    switch (EntryKind::At(path)) {
    case EntryKind::Kind::File:
        return NoError;
    case EntryKind::Kind::Missing:
        return onNotFound == OnNotFound::AcceptMissing ? NoError : GSErr::NotFound;
    case EntryKind::Kind::Folder:
        break;
    }
    return GSErr::BadParameter;
}

std::string PathText(const Location& location) {
    GS::UniString path;
    location.ToPath(&path);
    return CallReport::Quoted(path);
}

std::string OnNotFoundText(OnNotFound onNotFound) {
    return " onNotFound=" + std::to_string(static_cast<Int32>(onNotFound));
}

} // namespace

File::File(const Folder& folder, const Name& name, OnNotFound onNotFound)
    : location(Compose(folder.GetLocation(), name)) {
    status = CallReport::Begin(operation, [&] {
        return "folder=" + PathText(folder.GetLocation()) +
               " name=" + CallReport::Quoted(name.ToUniString()) + OnNotFoundText(onNotFound);
    });
    if (status == NoError) {
        status = folder.GetStatus();
    }
    if (status == NoError) {
        GS::UniString path;
        location.ToPath(&path);
        status = Inspect(path, onNotFound);
    }
    CallReport::End(operation,
                    [&] { return "status=" + std::to_string(status) + " location=" + PathText(location); });
}

File::File(const Location& fileLocation, OnNotFound onNotFound) : location(fileLocation) {
    status = CallReport::Begin(operation,
                               [&] { return "location=" + PathText(location) + OnNotFoundText(onNotFound); });
    if (status == NoError) {
        GS::UniString path;
        location.ToPath(&path);
        status = Inspect(path, onNotFound);
    }
    CallReport::End(operation,
                    [&] { return "status=" + std::to_string(status) + " location=" + PathText(location); });
}

} // namespace IO
