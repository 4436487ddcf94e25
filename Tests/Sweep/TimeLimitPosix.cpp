#include "TimeLimit.hpp"

namespace Sweep {

std::vector<std::string> UnderTimeLimit(const std::vector<std::string>& command, int seconds) {
    // coreutils' timeout sends TERM at the limit and KILL five seconds later.
    std::vector<std::string> limited{"/usr/bin/timeout", "-k", "5", std::to_string(seconds)};
    limited.insert(limited.end(), command.begin(), command.end());
    return limited;
}

int TimeLimitExitCode() {
    return 124;
}

} // namespace Sweep
