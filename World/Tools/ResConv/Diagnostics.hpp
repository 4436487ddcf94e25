#pragma once

#include "SourcePosition.hpp"

#include <string>
#include <vector>

namespace ResConv {

struct Diagnostic {
    SourcePosition position;
    std::string message;
};

// The errors found in the sources, in the order they were found. Every stage reports here and goes
// on, so one run shows every mistake it can see.
class Diagnostics {
public:
    void Report(const SourcePosition& position, std::string message);

    bool HasErrors() const { return !diagnostics.empty(); }
    // One "FILE:LINE: message" line per error.
    std::string Format() const;

private:
    std::vector<Diagnostic> diagnostics;
};

} // namespace ResConv
