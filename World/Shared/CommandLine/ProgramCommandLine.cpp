#include "ProgramCommandLine.hpp"

#include "ProjectVersion.h"

#include <charconv>
#include <ostream>

namespace CommandLine {

namespace {

bool HasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text, int base) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc{} || stop != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

Request StandardRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            return Request::Help;
        }
        if (argument == "--version") {
            return Request::Version;
        }
    }
    return Request::Run;
}

std::string VersionLine(std::string_view name) {
    return std::string(name) + " " VELD_VERSION_TEXT;
}

int Answer(Request request, const ProgramText& program, std::ostream& out) {
    if (request == Request::Version) {
        out << VersionLine(program.name) << '\n';
    } else {
        out << program.usage;
    }
    out.flush();
    return 0;
}

int Refuse(const ProgramText& program, std::string_view message, std::ostream& errors) {
    errors << program.name << ": " << message << '\n' << program.usage;
    errors.flush();
    return UsageExitCode;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::uint64_t maxValue) {
    std::optional<std::uint64_t> value = HasHexPrefix(text) ? ParseWhole<std::uint64_t>(text.substr(2), 16)
                                                            : ParseWhole<std::uint64_t>(text, 10);
    if (!value || *value > maxValue) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseSigned(std::string_view text, std::int64_t minValue, std::int64_t maxValue) {
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
    }
    std::optional<std::int64_t> value = ParseWhole<std::int64_t>(text, 10);
    if (!value || *value < minValue || *value > maxValue) {
        return std::nullopt;
    }
    return value;
}

} // namespace CommandLine
