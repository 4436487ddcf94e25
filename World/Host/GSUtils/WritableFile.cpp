#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "FileTests.hpp"
#include "WriteMarks.hpp"

namespace {

bool MarksAllowWriting(const GS::UniString& path) {
    if (path.IsEmpty()) {
        return false;
    }
    switch (SU::WriteMarks::At(path)) {
    case SU::WriteMarks::Entry::WritableFile:
        return true;
    case SU::WriteMarks::Entry::Missing:
        return SU::WriteMarks::At(SU::WriteMarks::ContainingFolder(path)) ==
               SU::WriteMarks::Entry::WritableFolder;
    default:
        return false;
    }
}

} // namespace

bool CanCreateOrWriteFile(const IO::Location& location) {
    constexpr const char* operation = "CanCreateOrWriteFile";
    GS::UniString path;
    location.ToPath(&path);
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored ? GS::ReportCall(operation, ("path=" + GS::CallDetails::Quote(path.ToUTF8().Get())).c_str())
                  : NoError;
    const bool writable = answer == NoError && MarksAllowWriting(path);
    if (monitored) {
        GS::ReportResult(operation, writable ? "true" : "false");
    }
    return writable;
}
