#include "HostSimRuns.hpp"
#include "RunTimes.hpp"

#include <benchmark/benchmark.h>

namespace {

// One successful "Open in VELD Engineer..." on the demo building, timed inside hostsim (--timings, no
// transcript). Each run chooses the translator first (the project is never saved, so every run starts
// alike), then opens: the SAF add-on writes the workbook and VELD Engineer is started.
//   end-to-end  - the open's menu call, from the host's call of the handler to its return;
//   host        - the host's work for the add-on in it (hostForAddOnNs): every service it answered
//                 through the function table (the SAF add-on's translator commands, the project's
//                 objects, the export folder, the 'SAVE'), the process start and the UI driver's waits
//                 (none once the information dialog is ticked away);
//   add-on own  - the rest (addOnNs): the add-on's code and the host library functions it calls.
void OpenOnDemoBuilding(benchmark::State& state) {
    HostSimRuns runs;
    // The information dialog after the first open is ticked away, so every timed open is the same.
    runs.Timings(ChooseTranslatorLines(1) + "menu 32500 1\ncheck 5 1\nclick 1\nquit\n");
    runs.LetTheStoreSettle();
    const std::string script = ChooseTranslatorLines(1) + "menu 32500 1\nquit\n";
    std::vector<double> open;
    std::vector<double> own;
    std::vector<double> save;
    std::vector<double> launcher;
    std::vector<double> host;
    std::vector<double> services;
    for (auto _ : state) {
        const nlohmann::json menu = TimingLine(runs.Timings(script), "menu", 1);
        open.push_back(Seconds(menu, "totalNs"));
        save.push_back(Seconds(menu, "saveNs"));
        launcher.push_back(Seconds(menu, "launcherNs"));
        host.push_back(Seconds(menu, "hostForAddOnNs"));
        services.push_back(Seconds(menu, "hostServicesNs") - save.back());
        own.push_back(Seconds(menu, "addOnNs"));
        state.SetIterationTime(open.back());
    }
    const double openMedian = Median(open);
    const double ownMedian = Median(own);
    state.counters["openMs"] = openMedian * 1e3;
    state.counters["saveMs"] = Median(save) * 1e3;
    state.counters["launcherMs"] = Median(launcher) * 1e3;
    state.counters["hostForAddOnMs"] = Median(host) * 1e3;
    state.counters["servicesButSaveUs"] = Median(services) * 1e6;
    state.counters["addOnUs"] = ownMedian * 1e6;
    state.counters["addOnLeastUs"] = Least(own) * 1e6;
    state.counters["addOnShare%"] = openMedian > 0.0 ? 100.0 * ownMedian / openMedian : 0.0;
}
BENCHMARK(OpenOnDemoBuilding)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

} // namespace
