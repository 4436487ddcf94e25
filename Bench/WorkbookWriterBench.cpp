#include "AllocationMeter.hpp"
#include "FrameBuilding.hpp"
#include "SafWorkbookWriter.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The SAF workbook writer on a generated frame of N curve members, in memory (no disk in the
// timing). Judged by members per second (target >= 50 000/s at 100 000 members) and by the heap
// peak above what the model itself holds.
void WriteWorkbookOfMembers(benchmark::State& state) {
    const auto memberCount = static_cast<std::size_t>(state.range(0));
    const Building::Model model = Building::GenerateBuildingWithMembers(memberCount);
    const SafWorkbook::ExportOptions options;
    std::size_t bytes = 0;
    std::size_t peakAboveModel = 0;
    for (auto _ : state) {
        std::string workbook;
        AllocationMeter::ResetPeak();
        const std::size_t before = AllocationMeter::LiveBytes();
        const SafWorkbook::WriteReport report = SafWorkbook::BuildSafWorkbook(model, options, workbook);
        peakAboveModel = AllocationMeter::PeakBytes() - before;
        if (!report.written) {
            state.SkipWithError(report.error.c_str());
            break;
        }
        bytes = workbook.size();
        benchmark::DoNotOptimize(workbook.data());
    }
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(memberCount), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peakHeapMB"] = static_cast<double>(peakAboveModel) / (1024.0 * 1024.0);
    state.counters["workbookMB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(WriteWorkbookOfMembers)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
