#include "AllocationMeter.hpp"
#include "FrameBuilding.hpp"
#include "ModelJson.hpp"
#include "Services/SafSave.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

// The host's 'SAVE' of a SAF workbook from an open project holding a generated frame of N curve
// members, as hostsim carries it out from the click: the workbook written from the model the project
// holds typed since it was opened, through the careful file. Judged by the heap peak above the
// project the host already holds; the workbook itself goes straight to its temporary file.
void SaveWorkbookOfMembers(benchmark::State& state) {
    const auto memberCount = static_cast<std::size_t>(state.range(0));
    const HostSim::ProjectModel project(
        Building::ModelToJson(Building::GenerateBuildingWithMembers(memberCount)));
    const std::vector<SAF::Translator> translators = SAF::DefaultTranslators();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "host-save-bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / ("members-" + std::to_string(memberCount) + ".xlsx");
    std::size_t peakAboveProject = 0;
    for (auto _ : state) {
        AllocationMeter::ResetPeak();
        const std::size_t before = AllocationMeter::LiveBytes();
        const HostSim::SafSaveOutcome outcome =
            HostSim::SaveSafWorkbook(project, translators, GS::UniString("Structural Analysis (SI)"), target);
        peakAboveProject = AllocationMeter::PeakBytes() - before;
        if (outcome.code != NoError) {
            state.SkipWithError(outcome.reason.c_str());
            break;
        }
    }
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(memberCount), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peakHeapMB"] = static_cast<double>(peakAboveProject) / (1024.0 * 1024.0);
}
BENCHMARK(SaveWorkbookOfMembers)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveWorkbookOfMembers)->Arg(400000)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveWorkbookOfMembers)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
