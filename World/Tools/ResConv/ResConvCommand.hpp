#pragma once

#include "ProgramCommandLine.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace ResConv {

enum ExitCode : int {
    ExitSuccess = 0,
    // A bad source, an unreadable input, a malformed .res to dump, an output that cannot be written.
    ExitFailure = 1,
    // A command line that cannot be used: the convention all our programs share.
    ExitUsage = CommandLine::UsageExitCode,
};

// The whole program: `ResConv SOURCES... -o OUT.res` or `ResConv --dump FILE.res`. `arguments`
// excludes the program name. Errors go to `err`, one per line, sources as "FILE:LINE: message".
int RunResConv(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace ResConv
