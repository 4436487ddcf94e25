#include "ProgressLine.hpp"

#include <io.h>
#include <stdio.h>

namespace CommandLine {

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace CommandLine
