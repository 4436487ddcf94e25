#include "XmlText.hpp"

namespace SafWorkbook {

std::string EscapeXml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char character : text) {
        switch (character) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        case '\t':
        case '\n':
        case '\r':
            escaped += character;
            break;
        default:
            if (static_cast<unsigned char>(character) >= 0x20) {
                escaped += character;
            }
        }
    }
    return escaped;
}

} // namespace SafWorkbook
