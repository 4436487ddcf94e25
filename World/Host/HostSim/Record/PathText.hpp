#pragma once

#include "CommandLine.hpp"

namespace HostSim {

// hostsim keeps paths as UTF-8 text (its command line, scripts and transcript are UTF-8).
using CommandLine::PathFromUtf8;
using CommandLine::PathToUtf8;

} // namespace HostSim
