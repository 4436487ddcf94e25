#include "Record/TerminalFilter.hpp"

#include <cstdio>
#include <sstream>

namespace HostSim {

namespace {

constexpr unsigned char C1LeadByte = 0xC2;

bool IsC0Control(unsigned char byte) {
    return (byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F;
}

std::string CodeOf(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof(text), "\\x%02X", byte);
    return text;
}

std::string C1CodeOf(unsigned char secondByte) {
    char text[8];
    std::snprintf(text, sizeof(text), "\\u%04X", static_cast<unsigned>(secondByte));
    return text;
}

} // namespace

std::string TerminalSafe(const std::string& text) {
    std::stringbuf safe;
    {
        TerminalFilter filter(&safe);
        filter.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    } // a lead byte held at the end is passed on as the filter goes
    return safe.str();
}

TerminalFilter::~TerminalFilter() {
    if (heldLeadByte) {
        destination->sputc(static_cast<char>(C1LeadByte));
    }
}

bool TerminalFilter::Emit(const std::string& text) {
    return destination->sputn(text.data(), static_cast<std::streamsize>(text.size())) ==
           static_cast<std::streamsize>(text.size());
}

bool TerminalFilter::Put(char character) {
    const auto byte = static_cast<unsigned char>(character);
    if (heldLeadByte) {
        heldLeadByte = false;
        if (byte >= 0x80 && byte <= 0x9F) {
            return Emit(C1CodeOf(byte));
        }
        if (destination->sputc(static_cast<char>(C1LeadByte)) == traits_type::eof()) {
            return false;
        }
    }
    if (byte == C1LeadByte) {
        heldLeadByte = true;
        return true;
    }
    if (IsC0Control(byte)) {
        return Emit(CodeOf(byte));
    }
    return destination->sputc(character) != traits_type::eof();
}

TerminalFilter::int_type TerminalFilter::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    return Put(traits_type::to_char_type(character)) ? character : traits_type::eof();
}

std::streamsize TerminalFilter::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize index = 0; index < count; ++index) {
        if (!Put(text[index])) {
            return index;
        }
    }
    return count;
}

int TerminalFilter::sync() {
    return destination->pubsync();
}

FilteredTerminal::FilteredTerminal(std::ostream& stream)
    : filtered(stream), original(stream.rdbuf()), filter(original) {
    filtered.rdbuf(&filter);
}

FilteredTerminal::~FilteredTerminal() {
    filtered.flush();
    filtered.rdbuf(original);
}

} // namespace HostSim
