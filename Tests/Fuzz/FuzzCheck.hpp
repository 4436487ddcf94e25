#pragma once

#include <cstdio>
#include <cstdlib>

// A property that a fuzz target holds beyond "no crash". A broken one aborts, so libFuzzer keeps the
// input that broke it as a crash file and prints what was expected.
#define FUZZ_REQUIRE(condition, what)                                                                        \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s (%s)\n", __FILE__, __LINE__, what, #condition); \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
