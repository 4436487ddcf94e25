#include "ProgramCommandLine.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

// The benchmarks' main: Google Benchmark's own, inside the command-line convention every program of
// ours keeps (its --help, --version, and exit code 64 naming an argument it does not know).
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string name = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "benchmark";
    const std::string usage =
        "usage: " + name +
        " [--benchmark_filter=REGEX] [--benchmark_repetitions=N] [other Google Benchmark "
        "options]\n"
        "Runs the benchmarks in this program (Bench/README.md says what each measures).\n";
    const CommandLine::ProgramText program{name, usage};
    const CommandLine::Request request = CommandLine::StandardRequest(arguments);
    if (request == CommandLine::Request::Version) {
        return CommandLine::Answer(request, program, std::cout);
    }
    if (request == CommandLine::Request::Help) {
        // Google Benchmark knows --help but not -h: its options are printed here for both.
        std::cout << usage << "Google Benchmark's options:\n" << std::flush;
        benchmark::PrintDefaultHelp();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (argc > 1) {
        return CommandLine::Refuse(program, std::string("unknown argument ") + argv[1], std::cerr);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
