#include "Services/SafSave.hpp"

#include "CarefulFile.hpp"
#include "ModelJson.hpp"

#include <algorithm>
#include <new>

namespace HostSim {

namespace {

bool Names(const SAF::Translator& translator, const char* kind) {
    return std::find(translator.elementKinds.begin(), translator.elementKinds.end(), kind) !=
           translator.elementKinds.end();
}

} // namespace

SafWorkbook::ExportOptions ExportOptionsOf(const SAF::Translator& translator) {
    SafWorkbook::ExportOptions options;
    options.kinds.columns = Names(translator, "column");
    options.kinds.beams = Names(translator, "beam") || Names(translator, "member");
    options.kinds.slabs = Names(translator, "slab");
    options.kinds.walls = Names(translator, "wall");
    options.kinds.supports = Names(translator, "support");
    options.kinds.storeys = true;
    options.unitSystem = translator.unitSystem == "Imperial" ? SafWorkbook::UnitSystem::Imperial
                                                             : SafWorkbook::UnitSystem::Metric;
    return options;
}

namespace {

// The workbook writer's sink over a careful file's temporary file.
class CarefulFileSink final : public SafWorkbook::ByteSink {
public:
    explicit CarefulFileSink(GS::CarefulFile::FileWriter& target) : file(target) {}
    void Append(std::string_view bytes) override { good = file.Append(bytes) && good; }
    void Overwrite(std::uint64_t offset, std::string_view bytes) override {
        good = file.WriteAt(offset, bytes) && good;
    }
    std::uint64_t Size() const override { return file.Size(); }
    bool Good() const override { return good; }

private:
    GS::CarefulFile::FileWriter& file;
    bool good = true;
};

SafSaveOutcome Refused(GSErrCode code, std::string reason) {
    SafSaveOutcome outcome;
    outcome.code = code;
    outcome.reason = std::move(reason);
    return outcome;
}

SafSaveOutcome BuildAndWrite(const ProjectModel& projectModel, const SAF::Translator& translator,
                             const std::filesystem::path& target, const WorkbookLimits& limits,
                             const std::function<void(std::uint64_t)>& written) {
    if (!projectModel.TextXmlCannotCarry().empty()) {
        return Refused(SaveTextNotWritable,
                       "the project's model cannot be written: " + projectModel.TextXmlCannotCarry());
    }
    const std::optional<Building::Model>& model = projectModel.Typed();
    if (!model) {
        return Refused(SaveModelUnusable, "the project's model cannot be read: " + projectModel.ReadError());
    }
    // The workbook goes straight into the careful file's temporary file: nothing of it is held in
    // memory, and a workbook refused after it was written never replaces the earlier one.
    SafWorkbook::WriteReport report;
    GSErrCode refusal = SaveWriteFailed;
    std::string error;
    const bool replaced = GS::CarefulFile::ReplaceFileWith(
        target,
        [&](GS::CarefulFile::FileWriter& file, std::string& reason) {
            CarefulFileSink sink(file);
            SafWorkbook::WatchedSink watched(sink, written);
            report = SafWorkbook::WriteSafWorkbookTo(*model, ExportOptionsOf(translator),
                                                     written ? static_cast<SafWorkbook::ByteSink&>(watched)
                                                             : sink);
            if (!report.written) {
                reason = report.error;
                return false;
            }
            if (std::string part = FindPartTooLargeForReader(report.parts, limits); !part.empty()) {
                refusal = SaveTooLargeForReader;
                reason = "the workbook would not open in VELD Engineer: " + part;
                return false;
            }
            return true;
        },
        error);
    if (!replaced) {
        return Refused(refusal, error);
    }
    SafSaveOutcome outcome;
    outcome.sheets = report.sheets;
    outcome.bytes = report.bytes;
    return outcome;
}

} // namespace

SafSaveOutcome SaveSafWorkbook(const ProjectModel& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target,
                               const WorkbookLimits& limits,
                               const std::function<void(std::uint64_t)>& written) {
    const auto translator =
        std::find_if(translators.begin(), translators.end(),
                     [&](const SAF::Translator& known) { return known.name == translatorName; });
    if (translator == translators.end()) {
        return Refused(SaveTranslatorUnknown, "the SAF add-on has no translator of that name");
    }
    // Running out of memory while the workbook is made is this save's failure, not the host's end.
    try {
        return BuildAndWrite(projectModel, *translator, target, limits, written);
    } catch (const std::bad_alloc&) {
        return Refused(SaveOutOfMemory, "there was not enough memory to make the workbook");
    }
}

SafSaveOutcome SaveSafWorkbook(const nlohmann::ordered_json& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target,
                               const WorkbookLimits& limits,
                               const std::function<void(std::uint64_t)>& written) {
    // Read inside the save: a model too big to read beside its document fails the save alone.
    try {
        return SaveSafWorkbook(ProjectModel(projectModel), translators, translatorName, target, limits,
                               written);
    } catch (const std::bad_alloc&) {
        return Refused(SaveOutOfMemory, "there was not enough memory to make the workbook");
    }
}

} // namespace HostSim
