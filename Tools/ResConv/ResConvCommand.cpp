#include "ResConvCommand.hpp"

#include "AtomicFileWrite.hpp"
#include "Compiler.hpp"
#include "FileLoading.hpp"
#include "ResDump.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <optional>
#include <stdexcept>

namespace ResConv {

namespace {

constexpr const char* Usage = "usage: ResConv SOURCE... -o OUT.res\n"
                              "       ResConv --dump FILE.res\n";

struct Arguments {
    std::vector<std::string> sources;
    std::string output;
    std::string dump;
};

std::optional<Arguments> ParseArguments(const std::vector<std::string>& arguments) {
    Arguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "-o" || argument == "--dump";
        if (takesValue && i + 1 == arguments.size()) {
            return std::nullopt;
        }
        if (argument == "-o") {
            parsed.output = arguments[++i];
        } else if (argument == "--dump") {
            parsed.dump = arguments[++i];
        } else if (!argument.empty() && argument.front() == '-') {
            return std::nullopt;
        } else {
            parsed.sources.push_back(argument);
        }
    }
    const bool compiles = !parsed.sources.empty() && !parsed.output.empty() && parsed.dump.empty();
    const bool dumps = parsed.sources.empty() && parsed.output.empty() && !parsed.dump.empty();
    return (compiles || dumps) ? std::optional<Arguments>(std::move(parsed)) : std::nullopt;
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
    if (const auto problem = WriteFileAtomically(arguments.output, compilation.resFile)) {
        err << "ResConv: " << *problem << "\n";
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
    const std::optional<Arguments> parsed = ParseArguments(arguments);
    if (!parsed) {
        err << Usage;
        return ExitUsage;
    }
    try {
        return parsed->dump.empty() ? Compile(*parsed, err) : Dump(parsed->dump, out, err);
    } catch (const std::exception& error) {
        err << "ResConv: " << error.what() << "\n";
        return ExitFailure;
    }
}

} // namespace ResConv
