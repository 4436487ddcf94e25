#include "CommandLine.hpp"
#include "ProgramCommandLine.hpp"
#include "SafRules/SafRules.hpp"
#include "SafTableWorkbookFile.hpp"

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

// A large workbook for the SAF checker's benchmarks, made from the SAF tables as the checker's tests
// make theirs, streamed to a file.
namespace {

constexpr CommandLine::ProgramText Program{
    "MakeSafTableWorkbook",
    "usage: MakeSafTableWorkbook MEMBERS OUTPUT.xlsx [--every-sheet]\n"
    "Writes a SAF 2.2.0 workbook made from the SAF tables that checks clean: MEMBERS curve members in a\n"
    "chain of nodes, each loaded by a line load and hinged, on a few materials, cross-sections, load\n"
    "groups, load cases and combinations; every column of each sheet filled.\n"
    "options:\n"
    "  --every-sheet   every object sheet of the table instead, MEMBERS objects in each\n"
    "  -h, --help      this text\n"
    "  --version       the version\n"
    "exit codes: 0 written, 1 the workbook could not be written, 64 a wrong command line\n"};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = CommandLine::Utf8Arguments(argc, argv);
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, Program, std::cout);
    }
    std::vector<std::string> operands;
    bool everySheet = false;
    for (const std::string& argument : arguments) {
        if (argument == "--every-sheet") {
            everySheet = true;
        } else if (argument.rfind("--", 0) == 0) {
            return CommandLine::Refuse(Program, "unknown option " + argument, std::cerr);
        } else {
            operands.push_back(argument);
        }
    }
    if (operands.size() != 2) {
        return CommandLine::Refuse(Program, "give the number of members and the output file", std::cerr);
    }
    const std::optional<std::uint64_t> members = CommandLine::ParseUnsigned(operands[0], 100'000'000);
    if (!members || *members == 0) {
        return CommandLine::Refuse(Program, "not a number of members: " + operands[0], std::cerr);
    }
    bool usedInstead = false;
    const AnalysisApp::SafTable& table = AnalysisApp::TableOfVersion("2.2.0", usedInstead);
    const auto count = static_cast<std::size_t>(*members);
    const std::string error =
        SafTableWorkbook::WriteFile(table,
                                    everySheet ? SafTableWorkbook::EverySheet(table, count)
                                               : SafTableWorkbook::LoadedAndHingedMembers(count),
                                    operands[1]);
    if (!error.empty()) {
        std::cerr << Program.name << ": " << error << '\n';
        return 1;
    }
    return 0;
}
