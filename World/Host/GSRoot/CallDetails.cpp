#include "CallDetails.hpp"

#include <cstdio>

namespace GS::CallDetails {

std::string Quote(const std::string& utf8Text) {
    std::string quoted = "\"";
    for (const char c : utf8Text) {
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                char escape[5];
                std::snprintf(escape, sizeof(escape), "\\x%02X",
                              static_cast<unsigned>(static_cast<unsigned char>(c)));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

std::string Quote(const char* utf8Text) {
    return utf8Text == nullptr ? std::string("null") : Quote(std::string(utf8Text));
}

} // namespace GS::CallDetails
