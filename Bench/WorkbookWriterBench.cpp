#include "AllocationMeter.hpp"
#include "FrameBuilding.hpp"
#include "SafWorkbookWriter.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

std::filesystem::path BenchFolder() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "saf-workbook-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

// The SAF workbook writer on a generated frame of N curve members, written to a file as hostsim
// writes it (the disk in the timing). Judged by members per second (target >= 200 000/s at 1 000 000
// members) and by the heap peak above what the loaded model holds (target <= 64 MB). The workbook of
// the last run stays in the temporary folder for the reader's benchmark.
void WriteWorkbookOfMembers(benchmark::State& state) {
    const auto memberCount = static_cast<std::size_t>(state.range(0));
    const Building::Model model = Building::GenerateBuildingWithMembers(memberCount);
    const SafWorkbook::ExportOptions options;
    const std::filesystem::path target = BenchFolder() / ("members-" + std::to_string(memberCount) + ".xlsx");
    std::size_t bytes = 0;
    std::size_t peakAboveModel = 0;
    for (auto _ : state) {
        AllocationMeter::ResetPeak();
        const std::size_t before = AllocationMeter::LiveBytes();
        const SafWorkbook::WriteReport report = SafWorkbook::WriteSafWorkbook(model, options, target);
        peakAboveModel = AllocationMeter::PeakBytes() - before;
        if (!report.written) {
            state.SkipWithError(report.error.c_str());
            break;
        }
        bytes = report.bytes;
    }
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(memberCount), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peakHeapMB"] = static_cast<double>(peakAboveModel) / (1024.0 * 1024.0);
    state.counters["workbookMB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(WriteWorkbookOfMembers)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteWorkbookOfMembers)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
