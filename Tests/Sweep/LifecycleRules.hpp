#pragma once

#include "SweepOutcome.hpp"
#include "SweptCall.hpp"

#include <optional>
#include <set>

namespace Sweep {

// What a failed call made while the module is loaded, described, registered and started may lead to,
// whichever command follows: `commandDone` is that command's clean outcome. Nothing when the call
// is made later, while a command runs, or when only the command can tell (the resource module).
std::optional<std::set<Outcome>> StartUpRules(const SweptCall& call, Outcome commandDone);

// The application locator's registry reads and file test.
bool IsLocatorCall(const std::string& operation);

} // namespace Sweep
