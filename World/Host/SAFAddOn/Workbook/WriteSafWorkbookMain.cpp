#include "CommandLine.hpp"
#include "ExportOptions.hpp"
#include "ModelJson.hpp"
#include "ProgramCommandLine.hpp"
#include "ProgressLine.hpp"
#include "SafWorkbookWriter.hpp"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr CommandLine::ProgramText Program{
    "WriteSafWorkbook",
    "usage: WriteSafWorkbook MODEL.json OUTPUT.xlsx [--imperial] [--without KIND]... [--progress]\n"
    "Writes the SAF workbook of a building model (a GenerateBuilding or hostsim --model file), as the\n"
    "host's SAF add-on does, and prints its sheets and their object counts.\n"
    "options (in any place):\n"
    "  --imperial       imperial units (metric otherwise)\n"
    "  --without KIND   leave out KIND: columns, beams, slabs, walls, supports or storeys (repeatable)\n"
    "  --progress       show progress even when standard error is no terminal\n"
    "  -h, --help       this text\n"
    "  --version        the version\n"
    "exit codes: 0 written, 1 the model cannot be read or the workbook written, 64 a wrong command line\n"};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = CommandLine::Utf8Arguments(argc, argv);
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, Program, std::cout);
    }
    SafWorkbook::ExportOptions options;
    std::vector<std::string> files;
    bool progressAsked = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--progress") {
            progressAsked = true;
        } else if (argument == "--imperial") {
            options.unitSystem = SafWorkbook::UnitSystem::Imperial;
        } else if (argument == "--without") {
            if (index + 1 == arguments.size()) {
                return CommandLine::Refuse(Program, "--without needs a kind", std::cerr);
            }
            const std::string& kind = arguments[++index];
            if (!SafWorkbook::SetElementKind(options.kinds, kind, false)) {
                return CommandLine::Refuse(Program, "--without: unknown kind \"" + kind + "\"", std::cerr);
            }
        } else if (argument.starts_with("-") && argument.size() > 1) {
            return CommandLine::Refuse(Program, "unknown option " + argument, std::cerr);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) {
        return CommandLine::Refuse(Program,
                                   files.size() < 2 ? "expected the model's and the workbook's paths"
                                                    : "unexpected argument \"" + files[2] + "\"",
                                   std::cerr);
    }
    CommandLine::ProgressLine progress(std::cerr, progressAsked || CommandLine::StandardErrorIsTerminal(),
                                       Program.name);
    progress.Stage("reading " + files[0]);
    const Result<Building::Model> read = Building::ReadModelFile(CommandLine::PathFromUtf8(files[0]));
    if (!read) {
        progress.EndLine();
        std::cerr << "WriteSafWorkbook: " << read.Error() << '\n';
        return 1;
    }
    progress.Stage("writing " + files[1], 0, CommandLine::ProgressLine::Unit::Bytes);
    const SafWorkbook::WriteReport report =
        SafWorkbook::WriteSafWorkbook(read.Value(), options, CommandLine::PathFromUtf8(files[1]),
                                      [&](std::uint64_t written) { progress.Advance(written); });
    if (!report.written) {
        progress.EndLine();
        std::cerr << "WriteSafWorkbook: " << report.error << '\n';
        return 1;
    }
    progress.Finish("wrote " + std::to_string(read->curveMembers.size()) + " members (" +
                    CommandLine::ByteCountText(report.bytes) + ") to " + files[1]);
    std::cout << SafWorkbook::DescribeSheets(report.sheets) << '\n';
    return 0;
}
