#pragma once

#include "GSTypes.hpp"

namespace HostSim {

// Answered for a request this host knows but cannot carry out in this set-up ('SAVE' in a host
// without a SAF add-on or an open project). Distinct from every GSErr code, so a test can tell it
// from a real failure.
constexpr GSErrCode RequestNotAvailable = static_cast<GSErrCode>(0x81060100u);

} // namespace HostSim
