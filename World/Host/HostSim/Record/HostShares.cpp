#include "Record/HostShares.hpp"

namespace HostSim {

void HostShareLedger::ServiceLeft(Nanoseconds took) {
    if (serviceDepth == 0) {
        return;
    }
    if (--serviceDepth == 0) {
        shares.services += took;
        shares.forAddOn += took;
    }
}

void HostShareLedger::AddLauncher(Nanoseconds took) {
    shares.launcher += took;
    if (serviceDepth == 0) {
        shares.forAddOn += took;
    }
}

void HostShareLedger::AddUiWait(Nanoseconds took) {
    shares.uiWait += took;
    if (serviceDepth == 0) {
        shares.forAddOn += took;
    }
}

HostShares HostShareLedger::Take() {
    const HostShares taken = shares;
    shares = HostShares{};
    return taken;
}

} // namespace HostSim
