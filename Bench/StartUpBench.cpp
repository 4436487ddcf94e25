#include "HostSimRuns.hpp"
#include "ModuleFloor.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// The add-on's load, describe, register and start (and its release and unload at quit): a hostsim
// run with the add-on minus one with no module at all. Against the floor any module pays: a bare
// dlopen and dlclose of an empty module plus one registry read, in this process. Target <= 3x.
void AddOnStartUp(benchmark::State& state) {
    HostSimRuns runs;
    std::vector<double> without;
    std::vector<double> with;
    for (auto _ : state) {
        without.push_back(runs.RunWithoutAddOn("quit\n"));
        with.push_back(runs.Run("quit\n"));
        state.SetIterationTime(with.back());
    }
    std::vector<double> floor;
    for (int round = 0; round < 200; ++round) {
        floor.push_back(TimeModuleFloor(runs.Home()));
    }
    const double addOn = Median(with) - Median(without);
    const double bare = Median(floor);
    state.counters["addOnUs"] = addOn * 1e6;
    state.counters["floorUs"] = bare * 1e6;
    state.counters["ratio"] = bare > 0.0 ? addOn / bare : 0.0;
}
BENCHMARK(AddOnStartUp)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace
