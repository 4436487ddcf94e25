#pragma once

#include "GSTypes.hpp"
#include "Record/Transcript.hpp"

#include <optional>
#include <string>

namespace HostSim {

constexpr const char* ApplicationLaunchOperation = "IO::Process::ApplicationLauncher::Launch";

// The "launch" event, rebuilt from what the application launcher reported to the call monitor:
//   details  executable="..." arguments=["...",...] mode=1 option=1   (texts quoted with C escapes)
//   result   code=N  or  exception=REASON  (none when the call never reported its end)
// Fields: executable, arguments (each exactly as the process receives it), mode, option, result
// (`started`, `failed`, `threw` or `unknown`), code and codeHex, or exception. Empty when the details
// do not have that form.
std::optional<Json> LaunchEventFields(const std::string& details, const std::optional<std::string>& result);

} // namespace HostSim
