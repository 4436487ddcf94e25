#pragma once

#include "ExportOptions.hpp"
#include "GSTypes.hpp"
#include "SafWorkbookWriter.hpp"
#include "TranslatorFile.hpp"
#include "UniString.hpp"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace HostSim {

// Codes the host answers to a 'SAVE' it cannot carry out. Each is its own, so a test can tell which
// part of the request was refused.
constexpr GSErrCode SaveFileTypeNotOffered = static_cast<GSErrCode>(0x81060201u);
constexpr GSErrCode SaveParameterNotOffered = static_cast<GSErrCode>(0x81060202u);
constexpr GSErrCode SaveTranslatorUnknown = static_cast<GSErrCode>(0x81060203u);
constexpr GSErrCode SaveModelUnusable = static_cast<GSErrCode>(0x81060204u);
constexpr GSErrCode SaveWriteFailed = static_cast<GSErrCode>(0x81060205u);

// What a translator asks of the workbook writer. "member" counts as beams (every curve member that
// is not a column); storeys are always written, as no translator names them.
SafWorkbook::ExportOptions ExportOptionsOf(const SAF::Translator& translator);

struct SafSaveOutcome {
    GSErrCode code = NoError;
    std::string reason; // when code is not NoError
    std::vector<SafWorkbook::SheetCount> sheets;
    std::size_t bytes = 0;
};

// The SAF add-on's half of a 'SAVE' of file type 69: the open project's model (`projectModel`, the
// project document's "model" member; an empty one is a model without objects) converted with the
// first translator named `translatorName`, written atomically at `target`. Nothing is written when
// the name is unknown or the model cannot be read.
SafSaveOutcome SaveSafWorkbook(const nlohmann::ordered_json& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target);

} // namespace HostSim
