#pragma once

#include <string>

namespace ResConv {

// A line of a resource source, as diagnostics name it: "Resources/Messages.rsrc:12".
struct SourcePosition {
    std::string file;
    int line = 0;
};

} // namespace ResConv
