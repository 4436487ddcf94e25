#include "Services/SafSave.hpp"

#include "ModelJson.hpp"

#include <algorithm>

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

SafSaveOutcome SaveSafWorkbook(const nlohmann::ordered_json& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target) {
    SafSaveOutcome outcome;
    const auto translator =
        std::find_if(translators.begin(), translators.end(),
                     [&](const SAF::Translator& known) { return known.name == translatorName; });
    if (translator == translators.end()) {
        outcome.code = SaveTranslatorUnknown;
        outcome.reason = "the SAF add-on has no translator of that name";
        return outcome;
    }
    // The model JSON reader works on the unordered document type; the text round trip is exact.
    const Building::ModelReadResult read = Building::ReadModel(nlohmann::json::parse(projectModel.dump()));
    if (!read.model) {
        outcome.code = SaveModelUnusable;
        outcome.reason = "the project's model cannot be read: " + read.error;
        return outcome;
    }
    const SafWorkbook::WriteReport report =
        SafWorkbook::WriteSafWorkbook(*read.model, ExportOptionsOf(*translator), target);
    if (!report.written) {
        outcome.code = SaveWriteFailed;
        outcome.reason = report.error;
        return outcome;
    }
    outcome.sheets = report.sheets;
    outcome.bytes = report.bytes;
    return outcome;
}

} // namespace HostSim
