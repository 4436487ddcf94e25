#include "HostSimRuns.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// One successful "Open in VELD Engineer..." on the demo building, and the add-on's own share of it.
// Every run first chooses the translator (the project is never saved, so each run starts alike):
//   base  - choose the translator, quit;
//   full  - choose, open: the SAF add-on writes the workbook and VELD Engineer is started;
//   addOn - choose, open with 'SAVE' answered 0 at once and the launcher answering 0 without
//           starting anything: the add-on takes its successful path but does none of the host's work.
// The end-to-end open is full - base, the add-on's own time addOn - base (hostsim's bookkeeping of
// the add-on's host calls counts as the add-on's, so the share is an upper bound).
void OpenOnDemoBuilding(benchmark::State& state) {
    HostSimRuns runs;
    // The information dialog after the first open is ticked away, so every timed open is the same.
    runs.Run(ChooseTranslatorLines(1) + "menu 32500 1\ncheck 5 1\nclick 1\nquit\n");
    const std::string choose = ChooseTranslatorLines(1);
    std::vector<double> base;
    std::vector<double> full;
    std::vector<double> addOn;
    for (auto _ : state) {
        base.push_back(runs.Run(choose + "quit\n"));
        full.push_back(runs.Run(choose + "menu 32500 1\nquit\n"));
        addOn.push_back(
            runs.Run(choose + "menu 32500 1\nquit\n", {"--fail", "HostAutomate=0", "--fail", "launcher=0"}));
        state.SetIterationTime(full.back());
    }
    const double open = Median(full) - Median(base);
    const double own = Median(addOn) - Median(base);
    state.counters["openMs"] = open * 1e3;
    state.counters["addOnUs"] = own * 1e6;
    state.counters["addOnShare%"] = open > 0.0 ? 100.0 * own / open : 0.0;
}
BENCHMARK(OpenOnDemoBuilding)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace
