#include "NumberText.hpp"

#include <charconv>
#include <cmath>

namespace SafWorkbook {

std::string FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == 0.0) {
        return "0"; // never "-0"
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace SafWorkbook
