#include <benchmark/benchmark.h>

// The hostsim benchmarks register themselves from their own files; main is BenchmarkMain.cpp.
