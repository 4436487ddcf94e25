#include "HostSimRuns.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// The add-on's export settings dialog filled from a SAF translator store of N translators and closed
// at once by the script. The dialog's cost is the run with it minus a run that only quits, both on
// the same store (the SAF add-on reads it either way). Judged by linearity and 10 000 in <= 10 ms.
void ExportSettingsDialog(benchmark::State& state) {
    HostSimRuns runs;
    runs.WriteTranslators(static_cast<std::size_t>(state.range(0)));
    std::vector<double> bare;
    std::vector<double> dialog;
    for (auto _ : state) {
        bare.push_back(runs.Run("quit\n"));
        dialog.push_back(runs.Run("menu 32500 2\nclose 2\nquit\n"));
        state.SetIterationTime(dialog.back());
    }
    const double cost = Median(dialog) - Median(bare);
    state.counters["dialogMs"] = cost * 1e3;
    state.counters["usPerTranslator"] = cost * 1e6 / static_cast<double>(state.range(0));
}
BENCHMARK(ExportSettingsDialog)
    ->UseManualTime()
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace
