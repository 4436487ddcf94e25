#include "AllocationMeter.hpp"
#include "FrameBuilding.hpp"
#include "Program/SafSummary.hpp"
#include "SafRules/SafChecker.hpp"
#include "SafWorkbookWriter.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

// A workbook of N generated members on disk, written once per size.
std::filesystem::path WorkbookOf(std::size_t memberCount) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "saf-workbook-bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / ("read-" + std::to_string(memberCount) + ".xlsx");
    if (!std::filesystem::exists(path)) {
        SafWorkbook::WriteSafWorkbook(Building::GenerateBuildingWithMembers(memberCount), {}, path);
    }
    return path;
}

// What VeldEngineer.exe does with the workbook it is started on: the summary and the SAF check, read
// from the file. Target at 1 000 000 members: both in <= 10 s; the whole program's peak memory
// <= 128 MB is measured on VeldEngineer.exe itself with /usr/bin/time -v (README).
void SummariseAndCheckWorkbook(benchmark::State& state) {
    const auto memberCount = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path path = WorkbookOf(memberCount);
    std::size_t peak = 0;
    std::size_t findings = 0;
    for (auto _ : state) {
        AllocationMeter::ResetPeak();
        const std::size_t before = AllocationMeter::LiveBytes();
        AnalysisApp::SpreadsheetPackage package;
        if (!package.OpenFile(path).empty()) {
            state.SkipWithError("cannot open the workbook");
            break;
        }
        const auto [reading, report] = AnalysisApp::SummariseAndCheck(package);
        if (!reading.summary || reading.summary->members != memberCount) {
            state.SkipWithError("the summary is wrong");
            break;
        }
        findings = report.findings.size();
        peak = AllocationMeter::PeakBytes() - before;
    }
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(memberCount), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peakHeapMB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(SummariseAndCheckWorkbook)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SummariseAndCheckWorkbook)
    ->Arg(1000000)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
