#include "Diagnostics.hpp"

namespace ResConv {

void Diagnostics::Report(const SourcePosition& position, std::string message) {
    diagnostics.push_back(Diagnostic{position, std::move(message)});
}

std::string Diagnostics::Format() const {
    std::string text;
    for (const Diagnostic& diagnostic : diagnostics) {
        text += diagnostic.position.file + ":" + std::to_string(diagnostic.position.line) + ": " +
                diagnostic.message + "\n";
    }
    return text;
}

} // namespace ResConv
