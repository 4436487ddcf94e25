#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace HostSim {

// What hostsim prints reaches a person's terminal, and texts in it come from outside: a script's
// lines, translator names, module paths, an add-on's debug output. Each control character in them
// is shown as its code (CommandLine::TerminalSafe); tab and line feed stay.
std::string TerminalSafe(const std::string& text);

// A stream buffer that shows everything written to it as TerminalSafe does, on its way to `target`.
// Characters are passed on as they come, except a UTF-8 lead byte, held until the next byte shows
// whether it starts a C1 control.
class TerminalFilter final : public std::streambuf {
public:
    explicit TerminalFilter(std::streambuf* target) : destination(target) {}
    ~TerminalFilter() override;
    TerminalFilter(const TerminalFilter&) = delete;
    TerminalFilter& operator=(const TerminalFilter&) = delete;

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool Put(char character);
    bool Emit(const std::string& text);

    std::streambuf* destination;
    bool heldLeadByte = false;
};

// Puts a TerminalFilter in front of a stream for the scope's lifetime.
class FilteredTerminal {
public:
    explicit FilteredTerminal(std::ostream& stream);
    ~FilteredTerminal();
    FilteredTerminal(const FilteredTerminal&) = delete;
    FilteredTerminal& operator=(const FilteredTerminal&) = delete;

private:
    std::ostream& filtered;
    std::streambuf* original;
    TerminalFilter filter;
};

} // namespace HostSim
