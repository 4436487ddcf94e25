#include "ModelFault.hpp"

namespace Building {

namespace {

std::string WithoutNul(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char character : text) {
        if (character == '\0') {
            shown += "\\x00";
        } else {
            shown += character;
        }
    }
    return shown;
}

} // namespace

ModelFault::ModelFault(const std::string& text) : std::runtime_error(WithoutNul(text)) {}

} // namespace Building
