#include "JsonDocumentReader.hpp"

#include <algorithm>

namespace JsonDocument {

std::string PlaceOfByte(const std::string& text, std::size_t offset) {
    // The parser counts offsets from 1.
    const std::size_t end = std::min(offset > 0 ? offset - 1 : 0, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t index = 0; index < end; ++index) {
        if (text[index] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace JsonDocument
