#pragma once

#include "ExportOptions.hpp"
#include "GSTypes.hpp"
#include "SafWorkbookWriter.hpp"
#include "Services/ProjectModel.hpp"
#include "Services/WorkbookAcceptance.hpp"
#include "TranslatorFile.hpp"
#include "UniString.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>
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
// A model text holds a character that XML 1.0 cannot carry (the reason names the member).
constexpr GSErrCode SaveTextNotWritable = static_cast<GSErrCode>(0x81060206u);
// The workbook would be one that VELD Engineer's reader refuses (a part over its size limit).
constexpr GSErrCode SaveTooLargeForReader = static_cast<GSErrCode>(0x81060207u);
// Memory ran out while the workbook was made; nothing was written.
constexpr GSErrCode SaveOutOfMemory = static_cast<GSErrCode>(0x81060208u);

// What a translator asks of the workbook writer. "member" counts as beams (every curve member that
// is not a column); storeys are always written, as no translator names them.
SafWorkbook::ExportOptions ExportOptionsOf(const SAF::Translator& translator);

struct SafSaveOutcome {
    GSErrCode code = NoError;
    std::string reason; // when code is not NoError
    std::vector<SafWorkbook::SheetCount> sheets;
    std::size_t bytes = 0;
};

// The SAF add-on's half of a 'SAVE' of file type 69: the open project's model (`projectModel`, held
// typed since the project was opened; an empty one is a model without objects) converted with the
// first translator named `translatorName`, written at `target` with GS::CarefulFile. Nothing is
// written when the name is unknown, the model cannot be read, or the workbook would be one that
// VELD Engineer's reader cannot take (`limits`).
// `written` hears the bytes of the workbook written so far.
SafSaveOutcome SaveSafWorkbook(const ProjectModel& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target,
                               const WorkbookLimits& limits = WorkbookLimits(),
                               const std::function<void(std::uint64_t written)>& written = {});

// The same from a model as the project document's "model" member holds it, read first.
SafSaveOutcome SaveSafWorkbook(const nlohmann::ordered_json& projectModel,
                               const std::vector<SAF::Translator>& translators,
                               const GS::UniString& translatorName, const std::filesystem::path& target,
                               const WorkbookLimits& limits = WorkbookLimits(),
                               const std::function<void(std::uint64_t written)>& written = {});

} // namespace HostSim
