#include "FileTests.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "FileSystem.hpp"

#include <string>

bool FileExists(const IO::Location& location) {
    constexpr const char* operation = "FileExists";
    GS::UniString path;
    location.ToPath(&path);
    const bool monitored = GS::IsCallMonitorActive();
    // A failure the host asks for reads as "no such file": the answer has no room for a code.
    const GSErrCode answer =
        monitored ? GS::ReportCall(operation, ("path=" + GS::CallDetails::Quote(path.ToUTF8().Get())).c_str())
                  : NoError;
    const bool exists = answer == NoError && SU::FileSystem::IsRegularFile(path);
    if (monitored) {
        GS::ReportResult(operation, exists ? "true" : "false");
    }
    return exists;
}
