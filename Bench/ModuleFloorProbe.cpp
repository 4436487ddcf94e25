#include "ModuleFloor.hpp"

#include <cstdio>
#include <exception>

// The start-up floor in a fresh process, as hostsim's start-up is timed in one: the first dlopen and
// the first registry read of the process, with cold caches and an unparsed store. Prints the
// nanoseconds taken; the benchmark takes the median over many such processes.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: ModuleFloorProbe HOME\n", stderr);
        return 64;
    }
    try {
        std::printf("%.0f\n", TimeModuleFloor(argv[1]) * 1e9);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "ModuleFloorProbe: %s\n", failure.what());
        return 1;
    }
    return 0;
}
