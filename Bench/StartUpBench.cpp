#include "HostSimRuns.hpp"
#include "ModuleFloor.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// The add-on's load, entry checks, describe, register and start, timed inside hostsim (--timings, no
// transcript), against the floor any module pays: a bare dlopen of an empty module plus one registry
// read. Both are first times in a fresh process, taken in turn so that they see the same machine. The
// add-on's own start (addOnUs) is the five steps less the host's work for it (hostForAddOnUs: the
// menu it registers, the handler it installs); the ratio (target <= 3x) is of its median and the
// floor's. The whole start, the floor taken warm, many rounds in this one process (ratioWarm), and
// release and unload at quit are printed beside it.
void AddOnStartUp(benchmark::State& state) {
    HostSimRuns runs;
    runs.Timings("quit\n");
    runs.LetTheStoreSettle();
    std::vector<double> startUp;
    std::vector<double> own;
    std::vector<double> host;
    std::vector<double> load;
    std::vector<double> entries;
    std::vector<double> stop;
    std::vector<double> coldFloor;
    for (auto _ : state) {
        coldFloor.push_back(runs.ColdModuleFloor());
        const std::vector<nlohmann::json> lines = runs.Timings("quit\n");
        const nlohmann::json start = TimingLine(lines, "module-start");
        const nlohmann::json end = TimingLine(lines, "module-stop");
        load.push_back(Seconds(start, "loadNs"));
        entries.push_back(Seconds(start, "checksNs") + Seconds(start, "describeNs") +
                          Seconds(start, "registerNs") + Seconds(start, "startNs"));
        startUp.push_back(load.back() + entries.back());
        own.push_back(Seconds(start, "addOnNs"));
        host.push_back(Seconds(start, "hostForAddOnNs"));
        stop.push_back(Seconds(end, "releaseNs") + Seconds(end, "unloadNs"));
        state.SetIterationTime(own.back());
    }
    std::vector<double> warmFloor;
    for (int round = 0; round < 200; ++round) {
        warmFloor.push_back(TimeModuleFloor(runs.Home()));
    }
    const double addOn = Median(own);
    const double bare = Median(coldFloor);
    const double bareWarm = Median(warmFloor);
    state.counters["addOnUs"] = addOn * 1e6;
    state.counters["hostForAddOnUs"] = Median(host) * 1e6;
    state.counters["addOnLeastUs"] = Least(own) * 1e6;
    state.counters["startUpUs"] = Median(startUp) * 1e6;
    state.counters["loadUs"] = Median(load) * 1e6;
    state.counters["entriesUs"] = Median(entries) * 1e6;
    state.counters["floorUs"] = bare * 1e6;
    state.counters["ratio"] = bare > 0.0 ? addOn / bare : 0.0;
    state.counters["floorLeastUs"] = Least(coldFloor) * 1e6;
    state.counters["floorWarmUs"] = bareWarm * 1e6;
    state.counters["ratioWarm"] = bareWarm > 0.0 ? addOn / bareWarm : 0.0;
    state.counters["releaseUnloadUs"] = Median(stop) * 1e6;
}
BENCHMARK(AddOnStartUp)->UseManualTime()->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace
