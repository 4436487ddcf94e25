// The registry store's parse of a hive whose sibling keys come in no order (a hand-edited or merged
// .reg file), against the same keys sorted. The parse is what every hostsim start pays once per hive.
#include "RegistryStore.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Hive(int keys, bool sorted) {
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    for (int index = 0; index < keys; ++index) {
        // A multiplier with no factor in common with the count visits every number once, out of order.
        const int number = sorted ? index : static_cast<int>((static_cast<long long>(index) * 7919) % keys);
        const std::string name = "Key" + std::to_string(100000 + number);
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many\\" + name + "]\n\"Value\"=\"" + name + "\"\n\n";
    }
    return text;
}

// The hive `text` parsed once per iteration; the benchmark's argument is its size for Complexity().
void Parse(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        GS::RegistryStore::ParseResult parsed =
            GS::RegistryStore::Parse(text.data(), text.size(), "HKEY_LOCAL_MACHINE", "LocalMachine.reg");
        benchmark::DoNotOptimize(parsed.ok);
    }
    state.SetComplexityN(state.range(0));
}

void ParseHive(benchmark::State& state, bool sorted) {
    Parse(state, Hive(static_cast<int>(state.range(0)), sorted));
}

void UnsortedSiblings(benchmark::State& state) {
    ParseHive(state, false);
}

void SortedSiblings(benchmark::State& state) {
    ParseHive(state, true);
}

// One key holding many values, as a tool that stores a list one value per entry leaves it: each
// value is looked up by name as it is read.
void ManyValuesInOneKey(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many]\n";
    for (int index = 0; index < count; ++index) {
        const std::string name = "Value" + std::to_string(100000 + index);
        text += "\"" + name + "\"=\"" + name + "\"\n";
    }
    Parse(state, text);
}

BENCHMARK(ManyValuesInOneKey)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(UnsortedSiblings)
    ->RangeMultiplier(4)
    ->Range(1250, 20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(SortedSiblings)
    ->RangeMultiplier(4)
    ->Range(1250, 20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
