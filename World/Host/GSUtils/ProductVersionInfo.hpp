#pragma once

#include "GSUtilsExport.hpp"
#include "UniString.hpp"

namespace SU {

// The running host's version, as the host announced it at start-up. Add-ons read it to tell host
// generations apart; a fresh object always reflects the latest announcement.
class GSUTILS_API ProductVersionInfo {
public:
    ProductVersionInfo();

    // The marketing version, e.g. "27".
    GS::UniString GetShortVersionString() const;
    Int32 GetBuildNum() const;

    // The host's side: announces its version. Before any announcement the version is "27", build 5000.
    static void SetHostVersion(const GS::UniString& shortVersion, Int32 buildNumber);

private:
    GS::UniString shortVersion;
    Int32 buildNumber;
};

} // namespace SU
