#include "ProgressLine.hpp"

#include <unistd.h>

namespace CommandLine {

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

} // namespace CommandLine
