#include "TerminalText.hpp"

namespace CommandLine {

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

} // namespace

std::string ControlEscape(unsigned char byte, LineBreaks breaks) {
    if (breaks == LineBreaks::Escaped) {
        switch (byte) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            break;
        }
    } else if (byte == '\t' || byte == '\n') {
        return {};
    }
    if (byte < 0x20 || byte == 0x7F) {
        return std::string("\\x") + Hex[byte >> 4] + Hex[byte & 0xF];
    }
    return {};
}

std::string C1Escape(unsigned char secondByte) {
    return std::string("\\u00") + Hex[secondByte >> 4] + Hex[secondByte & 0xF];
}

std::string TerminalSafe(std::string_view text, LineBreaks breaks) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (byte == C1LeadByte && index + 1 < text.size() &&
            IsC1SecondByte(static_cast<unsigned char>(text[index + 1]))) {
            shown += C1Escape(static_cast<unsigned char>(text[++index]));
        } else if (const std::string escape = ControlEscape(byte, breaks); !escape.empty()) {
            shown += escape;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

} // namespace CommandLine
