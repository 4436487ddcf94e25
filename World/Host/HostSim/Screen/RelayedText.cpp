#include "Screen/RelayedText.hpp"

#include <utility>

namespace HostSim {

namespace {

// The number of bytes of the UTF-8 character that `lead` starts; 1 for a byte that starts none
// (ASCII, a continuation byte, a byte UTF-8 never uses), so that such text is passed on unchanged.
std::size_t CharacterLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

// Where an unfinished character at the end of `text` starts, or text.size() when it ends whole.
std::size_t UnfinishedTail(const std::string& text) {
    // A character has at most four bytes: its lead is among the last three of an unfinished one.
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            return CharacterLength(byte) > back ? text.size() - back : text.size();
        }
    }
    return text.size();
}

} // namespace

std::string RelayedText::Take(std::string_view piece) {
    std::string text = std::exchange(held, {});
    text.append(piece);
    const std::size_t whole = UnfinishedTail(text);
    held = text.substr(whole);
    text.resize(whole);
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    return text;
}

std::string RelayedText::Rest() {
    return std::exchange(held, {});
}

} // namespace HostSim
