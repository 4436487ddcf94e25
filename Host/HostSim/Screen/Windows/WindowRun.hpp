#pragma once

#include "Screen/Windows/WindowDriver.hpp"

namespace HostSim {

// The windows of one run with the window face: made at the start, gone at the end.
class WindowRun {
public:
    explicit WindowRun(WindowDriver& driver);
    ~WindowRun();
    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

private:
    WindowDriver& driver;
};

} // namespace HostSim
