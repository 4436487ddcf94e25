#include "XmlText.hpp"

namespace SafWorkbook {

void AppendEscapedXml(std::string& out, std::string_view text) {
    for (const char character : text) {
        switch (character) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
        case '\n':
        case '\r':
            out += character;
            break;
        default:
            if (static_cast<unsigned char>(character) >= 0x20) {
                out += character;
            }
        }
    }
}

std::string EscapeXml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    AppendEscapedXml(escaped, text);
    return escaped;
}

} // namespace SafWorkbook
