#include "Record/TerminalFilter.hpp"

#include "TerminalText.hpp"

namespace HostSim {

std::string TerminalSafe(const std::string& text) {
    return CommandLine::TerminalSafe(text, CommandLine::LineBreaks::Kept);
}

TerminalFilter::~TerminalFilter() {
    if (heldLeadByte) {
        destination->sputc(static_cast<char>(CommandLine::C1LeadByte));
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
        if (CommandLine::IsC1SecondByte(byte)) {
            return Emit(CommandLine::C1Escape(byte));
        }
        if (destination->sputc(static_cast<char>(CommandLine::C1LeadByte)) == traits_type::eof()) {
            return false;
        }
    }
    if (byte == CommandLine::C1LeadByte) {
        heldLeadByte = true;
        return true;
    }
    if (const std::string escape = CommandLine::ControlEscape(byte, CommandLine::LineBreaks::Kept);
        !escape.empty()) {
        return Emit(escape);
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
