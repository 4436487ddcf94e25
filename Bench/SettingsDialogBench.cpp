#include "HostSimRuns.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// The add-on's export settings dialog filled from a SAF translator store of N translators and closed
// at once by the script, timed inside hostsim (--timings, no transcript): the menu call minus the UI
// driver's wait for the script's line. Judged by linearity and 10 000 in <= 10 ms.
void ExportSettingsDialog(benchmark::State& state) {
    HostSimRuns runs;
    runs.WriteTranslators(static_cast<std::size_t>(state.range(0)));
    runs.Timings("quit\n");
    runs.LetTheStoreSettle();
    std::vector<double> dialog;
    for (auto _ : state) {
        const nlohmann::json menu = TimingLine(runs.Timings("menu 32500 2\nclose 2\nquit\n"), "menu", 2);
        dialog.push_back(Seconds(menu, "totalNs") - Seconds(menu, "uiWaitNs"));
        state.SetIterationTime(dialog.back());
    }
    const double cost = Median(dialog);
    state.counters["dialogMs"] = cost * 1e3;
    state.counters["usPerTranslator"] = cost * 1e6 / static_cast<double>(state.range(0));
    state.counters["dialogLeastMs"] = Least(dialog) * 1e3;
}
BENCHMARK(ExportSettingsDialog)
    ->UseManualTime()
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

} // namespace
