#pragma once

#include "Array.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// The platform's way of starting a program that the host does not wait for; ProcessStartPosix.cpp,
// ProcessStartWindows.cpp. ApplicationLauncher.hpp describes the behaviour and the codes.
namespace IO::Process::ProcessStart {

GSErrCode StartDetached(const GS::UniString& executablePath, const GS::Array<GS::UniString>& arguments);

} // namespace IO::Process::ProcessStart
