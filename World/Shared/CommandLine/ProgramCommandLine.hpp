#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CommandLine {

// The one convention every program of ours follows: `--help`/`-h` prints the whole usage on standard
// output and exits 0, `--version` prints the version, and a command line that cannot be used is
// named on standard error, followed by the usage, with exit code 64 (the usual "usage" code).
constexpr int UsageExitCode = 64;

struct ProgramText {
    // Every message of the program starts with this and ": " ("hostsim registry").
    std::string_view name;
    // The complete usage, lines ending in '\n', the first starting with "usage: ".
    std::string_view usage;
};

enum class Request { Run, Help, Version };

// --help, -h or --version anywhere among `arguments` (the first one found wins); Run otherwise.
Request StandardRequest(const std::vector<std::string>& arguments);

// Answers Help or Version on `out`; returns the exit code, 0.
int Answer(Request request, const ProgramText& program, std::ostream& out);

// "NAME VERSION", the line --version prints.
std::string VersionLine(std::string_view name);

// "NAME: MESSAGE" and the usage on `errors`; returns UsageExitCode.
int Refuse(const ProgramText& program, std::string_view message, std::ostream& errors);

// Decimal or "0x" hex unsigned number of at most `maxValue`; no sign, no spaces.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::uint64_t maxValue);

// Decimal integer with an optional sign within [minValue, maxValue].
std::optional<std::int64_t> ParseSigned(std::string_view text, std::int64_t minValue, std::int64_t maxValue);

} // namespace CommandLine
