#pragma once

#include "GSTypes.hpp"

namespace HostSim {

// Answered for a request this host build knows but cannot carry out yet ('SAVE' before the SAF
// writer exists). Distinct from every GSErr code, so a test can tell it from a real failure.
constexpr GSErrCode RequestNotAvailable = static_cast<GSErrCode>(0x81060100u);

} // namespace HostSim
