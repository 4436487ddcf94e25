#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"

namespace GS {

// The host's watch over its libraries: every library operation that an add-on calls (registry,
// resources, files, processes, dialogs) reports itself here before it does anything, so that the
// host can record it and, on demand, make it fail. Without a monitor installed nothing is recorded
// and nothing fails.
class GSROOT_API CallMonitor {
public:
    virtual ~CallMonitor();
    // `operation` names the call ("GSPref::OpenRootKey"); `details` describes its arguments in
    // readable form. Returns 0 to let the call go on, or the error code that the operation must
    // report instead; each operation documents what failing means for it.
    virtual GSErrCode OnCall(const char* operation, const char* details) = 0;
    // Called when the operation has finished, with its result in readable form.
    virtual void OnResult(const char* operation, const char* result);
};

GSROOT_API void SetCallMonitor(CallMonitor* monitor);
GSROOT_API bool IsCallMonitorActive();
// What library code calls: 0 when no monitor is installed.
GSROOT_API GSErrCode ReportCall(const char* operation, const char* details);
GSROOT_API void ReportResult(const char* operation, const char* result);

} // namespace GS
