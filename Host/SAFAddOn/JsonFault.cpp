#include "JsonFault.hpp"

#include <algorithm>

namespace SAF {

std::string PlaceOfByte(const std::string& text, std::size_t offset) {
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

std::string DescribeParseError(const std::string& text, const nlohmann::json::parse_error& error) {
    std::string what = error.what();
    // The library's text starts with its own "[json.exception.parse_error.101] parse error at line
    // 1, column 2: "; keep only what follows, since the place is given in the editor's terms.
    const std::size_t colon = what.find(": ");
    if (colon != std::string::npos) {
        what = what.substr(colon + 2);
    }
    return PlaceOfByte(text, error.byte) + ": " + what;
}

JsonRead ReadJson(const std::string& text) {
    try {
        return {nlohmann::ordered_json::parse(text), {}};
    } catch (const nlohmann::json::parse_error& error) {
        return {std::nullopt, DescribeParseError(text, error)};
    } catch (const nlohmann::json::out_of_range& error) {
        return {std::nullopt, DescribeOutOfRange(error)};
    }
}

std::string Utf8Of(const GS::UniString& text) {
    const GS::UniString::CStr utf8 = text.ToUTF8();
    return std::string(utf8.Get(), utf8.GetLength());
}

std::string DescribeOutOfRange(const nlohmann::json::out_of_range& error) {
    std::string what = error.what();
    // Past the library's "[json.exception.out_of_range.406] ".
    const std::size_t bracket = what.find("] ");
    if (bracket != std::string::npos) {
        what = what.substr(bracket + 2);
    }
    return "a number out of range: " + what;
}

} // namespace SAF
