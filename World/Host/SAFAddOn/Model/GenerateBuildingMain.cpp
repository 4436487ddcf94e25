#include "CommandLine.hpp"
#include "FrameBuilding.hpp"
#include "ModelJson.hpp"
#include "ProgramCommandLine.hpp"
#include "ProgressLine.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr CommandLine::ProgramText Program{
    "GenerateBuilding",
    "usage: GenerateBuilding [--progress] demo OUTPUT.json\n"
    "       GenerateBuilding [--progress] members N OUTPUT.json\n"
    "Writes a building model as JSON: the demo building (3 x 2 bays, two storeys), or a frame of N\n"
    "curve members (1 to 10000000) for benchmarks.\n"
    "options:\n"
    "  --progress     show progress even when standard error is no terminal\n"
    "  -h, --help     this text\n"
    "  --version      the version\n"
    "exit codes: 0 written, 1 the file cannot be written, 64 a wrong command line\n"};

// Written a slice at a time, so that the progress line follows the bytes on their way to the disk.
constexpr std::size_t SliceBytes = 1 << 20;

// Large enough for any benchmark, small enough that the model fits in memory.
constexpr std::uint64_t MostMembers = 10'000'000;

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments = CommandLine::Utf8Arguments(argc, argv);
    const bool progressAsked = std::erase(arguments, "--progress") > 0;
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, Program, std::cout);
    }
    Building::Model model;
    std::string output;
    if (arguments.size() == 2 && arguments[0] == "demo") {
        model = Building::GenerateDemoBuilding();
        output = arguments[1];
    } else if (arguments.size() == 3 && arguments[0] == "members") {
        const std::optional<std::uint64_t> count = CommandLine::ParseUnsigned(arguments[1], MostMembers);
        if (!count || *count == 0) {
            return CommandLine::Refuse(
                Program, "\"" + arguments[1] + "\" is not a number of members (1 to 10000000)", std::cerr);
        }
        model = Building::GenerateBuildingWithMembers(static_cast<std::size_t>(*count));
        output = arguments[2];
    } else if (arguments.empty()) {
        return CommandLine::Refuse(Program, "expected demo or members", std::cerr);
    } else if (arguments[0] != "demo" && arguments[0] != "members") {
        return CommandLine::Refuse(Program, "unknown command \"" + arguments[0] + "\"", std::cerr);
    } else {
        return CommandLine::Refuse(Program, "wrong number of arguments for " + arguments[0], std::cerr);
    }
    CommandLine::ProgressLine progress(std::cerr, progressAsked || CommandLine::StandardErrorIsTerminal(),
                                       Program.name);
    progress.Stage("making the JSON text");
    const std::string text = Building::ModelToJson(model).dump(2) + '\n';
    progress.Stage("writing " + output, text.size(), CommandLine::ProgressLine::Unit::Bytes);
    std::ofstream file(CommandLine::PathFromUtf8(output), std::ios::binary | std::ios::trunc);
    for (std::size_t offset = 0; file && offset < text.size(); offset += SliceBytes) {
        file.write(text.data() + offset,
                   static_cast<std::streamsize>(std::min(SliceBytes, text.size() - offset)));
        progress.Advance(std::min(offset + SliceBytes, text.size()));
    }
    file.close();
    if (!file) {
        progress.EndLine();
        std::cerr << "GenerateBuilding: cannot write " << output << '\n';
        return 1;
    }
    progress.Finish("wrote " + std::to_string(model.curveMembers.size()) + " members (" +
                    CommandLine::ByteCountText(text.size()) + ") to " + output);
    return 0;
}
