#pragma once

#include "GSTypes.hpp"

namespace HostSim {

using Nanoseconds = Int64;

// The parts of an add-on's call (an entry point, a menu command) that are the host's work for it,
// not the add-on's own.
struct HostShares {
    Nanoseconds save = 0;     // inside HostAutomate 'SAVE' (a host service)
    Nanoseconds launcher = 0; // inside the application launcher (the process start)
    Nanoseconds uiWait = 0;   // the UI driver waiting for the user's next action (a script line)
    Nanoseconds services = 0; // inside the host function table's entries: every service, 'SAVE' included
    // Everything above once: the services, and the launcher and the waits that no service enclosed.
    Nanoseconds forAddOn = 0;
};

// Adds up the host's shares as they are measured. A service may reach the launcher or wait for the
// user, and a service may call another: what a service encloses is already in its time, so only the
// outermost service counts, and a launch or a wait counts for the add-on's side only outside them.
class HostShareLedger {
public:
    bool InService() const { return serviceDepth > 0; }
    void ServiceEntered() { ++serviceDepth; }
    // `took` is the time of the service now left; only the outermost one's is added.
    void ServiceLeft(Nanoseconds took);
    void AddSave(Nanoseconds took) { shares.save += took; }
    void AddLauncher(Nanoseconds took);
    void AddUiWait(Nanoseconds took);
    // What was added since the last call; counting starts again from zero.
    HostShares Take();

private:
    HostShares shares;
    int serviceDepth = 0;
};

// The add-on's own time in a call of `total` nanoseconds that held `shares`.
inline Nanoseconds AddOnShare(Nanoseconds total, const HostShares& shares) {
    return total - shares.forAddOn;
}

} // namespace HostSim
