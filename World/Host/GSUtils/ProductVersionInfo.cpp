#include "ProductVersionInfo.hpp"

#include <string>

namespace SU {

namespace {

// Plain standard storage: it never crosses the boundary, and a UniString here would be a block of
// whichever owner happened to be current at first use.
struct AnnouncedVersion {
    std::u16string shortVersion = u"27";
    Int32 buildNumber = 5000;
};

// Built on first use and never destroyed, so that no add-on's static destructor finds it gone.
AnnouncedVersion& Announced() {
    static AnnouncedVersion* announced = new AnnouncedVersion;
    return *announced;
}

} // namespace

ProductVersionInfo::ProductVersionInfo()
    : shortVersion(Announced().shortVersion.data(), static_cast<UIndex>(Announced().shortVersion.size())),
      buildNumber(Announced().buildNumber) {}

GS::UniString ProductVersionInfo::GetShortVersionString() const {
    return shortVersion;
}

Int32 ProductVersionInfo::GetBuildNum() const {
    return buildNumber;
}

void ProductVersionInfo::SetHostVersion(const GS::UniString& version, Int32 build) {
    Announced().shortVersion.assign(version.ToUStr(), version.GetLength());
    Announced().buildNumber = build;
}

} // namespace SU
