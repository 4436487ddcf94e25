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

SafSaveOutcome Refused(GSErrCode code, std::string reason) {
    SafSaveOutcome outcome;
    outcome.code = code;
    outcome.reason = std::move(reason);
    return outcome;
}

SafSaveOutcome BuildAndWrite(const nlohmann::ordered_json& projectModel, const SAF::Translator& translator,
                             const std::filesystem::path& target, const WorkbookLimits& limits) {
    if (std::string text = FindTextXmlCannotCarry(projectModel); !text.empty()) {
        return Refused(SaveTextNotWritable, "the project's model cannot be written: " + text);
    }
    // The model JSON reader works on the unordered document type; the text round trip is exact.
    const Building::ModelReadResult read = Building::ReadModel(nlohmann::json::parse(projectModel.dump()));
    if (!read.model) {
        return Refused(SaveModelUnusable, "the project's model cannot be read: " + read.error);
    }
    std::string bytes;
    const SafWorkbook::WriteReport report =
        SafWorkbook::BuildSafWorkbook(*read.model, ExportOptionsOf(translator), bytes);
    if (!report.written) {
        return Refused(SaveWriteFailed, report.error);
    }
    if (std::string part = FindPartTooLargeForReader(bytes, limits); !part.empty()) {
        return Refused(SaveTooLargeForReader, "the workbook would not open in VELD Engineer: " + part);
    }
    std::string error;
    if (!GS::CarefulFile::ReplaceFile(target, bytes, error)) {
        return Refused(SaveWriteFailed, error);
    }
    SafSaveOutcome outcome;
    outcome.sheets = report.sheets;
    outcome.bytes = report.bytes;
    return outcome;
}

} // namespace

SafSaveOutcome SaveSafWorkbook(const nlohmann::ordered_json& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target,
                               const WorkbookLimits& limits) {
    const auto translator =
        std::find_if(translators.begin(), translators.end(),
                     [&](const SAF::Translator& known) { return known.name == translatorName; });
    if (translator == translators.end()) {
        return Refused(SaveTranslatorUnknown, "the SAF add-on has no translator of that name");
    }
    // A large model holds the model, its sheets and the package in memory at once; running out is
    // this save's failure, not the host's end.
    try {
        return BuildAndWrite(projectModel, *translator, target, limits);
    } catch (const std::bad_alloc&) {
        return Refused(SaveOutOfMemory, "there was not enough memory to make the workbook");
    }
}

} // namespace HostSim
