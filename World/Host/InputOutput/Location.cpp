#include "Location.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "NativePath.hpp"

#include <string>

namespace IO {

namespace {

bool HoldsSeparator(const GS::UniString& text) {
    for (UIndex i = 0; i < text.GetLength(); ++i) {
        if (NativePath::IsSeparator(text[i])) {
            return true;
        }
    }
    return false;
}

std::string Quoted(const GS::UniString& text) {
    return GS::CallDetails::Quote(text.ToUTF8().Get());
}

} // namespace

Location::Location() = default;

Location::Location(const GS::UniString& nativePath) : path(NativePath::Normalize(nativePath)) {}

GSErrCode Location::AppendToLocal(const Name& name) {
    constexpr const char* operation = "IO::Location::AppendToLocal";
    const bool monitored = GS::IsCallMonitorActive();
    GSErrCode code =
        monitored
            ? GS::ReportCall(operation,
                             ("location=" + Quoted(path) + " name=" + Quoted(name.ToUniString())).c_str())
            : NoError;
    if (code == NoError) {
        const GS::UniString& text = name.ToUniString();
        if (path.IsEmpty() || text.IsEmpty() || HoldsSeparator(text)) {
            code = GSErr::BadParameter;
        } else {
            if (!NativePath::IsSeparator(path[path.GetLength() - 1])) {
                path += NativePath::Separator();
            }
            path += text;
        }
    }
    if (monitored) {
        GS::ReportResult(operation, ("code=" + std::to_string(code) + " location=" + Quoted(path)).c_str());
    }
    return code;
}

GSErrCode Location::ToPath(GS::UniString* result) const {
    if (result == nullptr) {
        return GSErr::BadParameter;
    }
    *result = path;
    return NoError;
}

Name Location::GetLastLocalName() const {
    UIndex end = path.GetLength();
    UIndex start = end;
    while (start > 0 && !NativePath::IsSeparator(path[start - 1])) {
        --start;
    }
    return Name(path.GetSubstring(start, end - start));
}

bool Location::operator==(const Location& other) const {
    return NativePath::SamePath(path, other.path);
}

} // namespace IO
