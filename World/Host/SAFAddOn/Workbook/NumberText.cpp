#include "NumberText.hpp"

#include <charconv>
#include <cmath>

namespace SafWorkbook {

void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value) || value == 0.0) {
        out += '0';
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::string FormatNumber(double value) {
    std::string text;
    AppendNumber(text, value);
    return text;
}

} // namespace SafWorkbook
