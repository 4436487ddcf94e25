#include "HostSimRuns.hpp"
#include "ModuleFloor.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// The add-on's load, entry checks, describe, register and start, timed inside hostsim (--timings, no
// transcript), against the floor any module pays: a bare dlopen of an empty module plus one registry
// read, timed the same way in this process. Target <= 3x. Release and unload at quit are reported
// apart.
void AddOnStartUp(benchmark::State& state) {
    HostSimRuns runs;
    runs.Timings("quit\n");
    runs.LetTheStoreSettle();
    std::vector<double> startUp;
    std::vector<double> load;
    std::vector<double> entries;
    std::vector<double> stop;
    for (auto _ : state) {
        const std::vector<nlohmann::json> lines = runs.Timings("quit\n");
        const nlohmann::json start = TimingLine(lines, "module-start");
        const nlohmann::json end = TimingLine(lines, "module-stop");
        load.push_back(Seconds(start, "loadNs"));
        entries.push_back(Seconds(start, "checksNs") + Seconds(start, "describeNs") +
                          Seconds(start, "registerNs") + Seconds(start, "startNs"));
        startUp.push_back(load.back() + entries.back());
        stop.push_back(Seconds(end, "releaseNs") + Seconds(end, "unloadNs"));
        state.SetIterationTime(startUp.back());
    }
    std::vector<double> floor;
    for (int round = 0; round < 200; ++round) {
        floor.push_back(TimeModuleFloor(runs.Home()));
    }
    const double addOn = Median(startUp);
    const double bare = Median(floor);
    state.counters["startUpUs"] = addOn * 1e6;
    state.counters["loadUs"] = Median(load) * 1e6;
    state.counters["entriesUs"] = Median(entries) * 1e6;
    state.counters["floorUs"] = bare * 1e6;
    state.counters["ratio"] = bare > 0.0 ? addOn / bare : 0.0;
    state.counters["startUpLeastUs"] = Least(startUp) * 1e6;
    state.counters["floorLeastUs"] = Least(floor) * 1e6;
    state.counters["releaseUnloadUs"] = Median(stop) * 1e6;
}
BENCHMARK(AddOnStartUp)->UseManualTime()->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace
