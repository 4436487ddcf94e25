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

void ParseHive(benchmark::State& state, bool sorted) {
    const std::string text = Hive(static_cast<int>(state.range(0)), sorted);
    for (auto _ : state) {
        GS::RegistryStore::ParseResult parsed =
            GS::RegistryStore::Parse(text.data(), text.size(), "HKEY_LOCAL_MACHINE", "LocalMachine.reg");
        benchmark::DoNotOptimize(parsed.ok);
    }
    state.SetComplexityN(state.range(0));
}

void UnsortedSiblings(benchmark::State& state) {
    ParseHive(state, false);
}

void SortedSiblings(benchmark::State& state) {
    ParseHive(state, true);
}

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
