#include "ResConvCommand.hpp"

#include "AtomicFile.hpp"
#include "Compiler.hpp"
#include "FileLoading.hpp"
#include "ProgramCommandLine.hpp"
#include "ResDump.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <optional>
#include <stdexcept>

namespace ResConv {

namespace {

constexpr CommandLine::ProgramText Program{
    "ResConv",
    "usage: ResConv SOURCE... -o OUT.res\n"
    "       ResConv --dump FILE.res\n"
    "Compiles resource sources (.grc, .rc) into one .res file, checking every resource, or lists the\n"
    "resources of a .res file.\n"
    "options (in any place):\n"
    "  -o OUT.res       the .res file to write (replaced whole, or left as it was on any error)\n"
    "  --dump FILE.res  list the resources of FILE.res instead of compiling\n"
    "  -h, --help       this text\n"
    "  --version        the version\n"
    "exit codes: 0 done, 1 a bad source, an unreadable input or an output that cannot be written,\n"
    "64 a wrong command line\n"};

struct Arguments {
    std::vector<std::string> sources;
    std::string output;
    std::string dump;
};

struct ArgumentsParse {
    std::optional<Arguments> arguments;
    std::string error;
};

ArgumentsParse ParseArguments(const std::vector<std::string>& arguments) {
    Arguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "-o" || argument == "--dump";
        if (takesValue && i + 1 == arguments.size()) {
            return {std::nullopt, argument + " needs a file"};
        }
        if (argument == "-o") {
            parsed.output = arguments[++i];
        } else if (argument == "--dump") {
            parsed.dump = arguments[++i];
        } else if (!argument.empty() && argument.front() == '-') {
            return {std::nullopt, "unknown option " + argument};
        } else {
            parsed.sources.push_back(argument);
        }
    }
    if (!parsed.dump.empty()) {
        if (!parsed.sources.empty() || !parsed.output.empty()) {
            return {std::nullopt, "--dump takes no sources and no -o"};
        }
    } else if (parsed.sources.empty()) {
        return {std::nullopt, "expected at least one source"};
    } else if (parsed.output.empty()) {
        return {std::nullopt, "expected -o OUT.res"};
    }
    return {std::move(parsed), {}};
}

int Compile(const Arguments& arguments, std::ostream& err) {
    std::vector<SourceText> sources;
    for (const std::string& path : arguments.sources) {
        std::optional<std::string> bytes = LoadFileFromDisk(path);
        if (!bytes) {
            err << "ResConv: cannot read " << path << "\n";
            return ExitFailure;
        }
        sources.push_back(SourceText{path, std::move(*bytes)});
    }
    const Compilation compilation = CompileSources(sources);
    if (compilation.diagnostics.HasErrors()) {
        err << compilation.diagnostics.Format();
        return ExitFailure;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(compilation.resFile.data()),
                                 compilation.resFile.size());
    if (const Result<> written = AtomicFile::ReplaceWith(arguments.output, bytes); !written) {
        err << "ResConv: " << written.Error() << "\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> bytes = LoadFileFromDisk(path);
    if (!bytes) {
        err << "ResConv: cannot read " << path << "\n";
        return ExitFailure;
    }
    const ResFormat::ResFileContents contents = ResFormat::ReadResFile(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (contents.problem) {
        err << path << ": offset " << contents.problem->offset << ": " << contents.problem->message << "\n";
        return ExitFailure;
    }
    out << path << ": " << DumpResources(contents.entries);
    return ExitSuccess;
}

} // namespace

int RunResConv(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, Program, out);
    }
    const ArgumentsParse parse = ParseArguments(arguments);
    if (!parse.arguments) {
        return CommandLine::Refuse(Program, parse.error, err);
    }
    const Arguments* parsed = &*parse.arguments;
    try {
        return parsed->dump.empty() ? Compile(*parsed, err) : Dump(parsed->dump, out, err);
    } catch (const std::exception& error) {
        err << "ResConv: " << error.what() << "\n";
        return ExitFailure;
    }
}

} // namespace ResConv
