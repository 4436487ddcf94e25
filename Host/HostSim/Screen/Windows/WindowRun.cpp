#include "Screen/Windows/WindowRun.hpp"

namespace HostSim {

WindowRun::WindowRun(WindowDriver& windowDriver) : driver(windowDriver) {}

WindowRun::~WindowRun() {
    driver.SetOwner(nullptr);
}

} // namespace HostSim
