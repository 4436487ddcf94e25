#include "Location.hpp"
#include "ProgressLine.hpp"
#include "Record/HostCallRecord.hpp"
#include "Record/PathText.hpp"
#include "Record/ReadableText.hpp"
#include "Record/TerminalFilter.hpp"
#include "SafCommands.hpp"
#include "SaveRecords.hpp"
#include "Services/HostErrors.hpp"
#include "Services/HostServices.hpp"
#include "Services/ProjectDocument.hpp"
#include "Services/SafSave.hpp"

#include <iostream>

namespace HostSim {

namespace {

constexpr UInt32 SpecialFolderQuery = FourLetterCode("GSPF");
constexpr UInt32 SaveRequest = FourLetterCode("SAVE");

std::string PathOf(const IO::Location& location) {
    GS::UniString path;
    location.ToPath(&path);
    return path.ToUTF8().Get();
}

void DescribeSaveRequest(Json& arguments, const void* par1, const void* par2) {
    if (const auto* file = static_cast<const SaveFileRecord*>(par1)) {
        arguments["fileType"] = file->fileType;
        if (file->location != nullptr) {
            arguments["location"] = PathOf(*file->location);
        }
    }
    if (const auto* parameters = static_cast<const SafSaveParameterRecord*>(par2)) {
        arguments["parameterKind"] = parameters->parameterKind;
        arguments["translatorName"] = parameters->translatorName.ToUTF8().Get();
    }
}

} // namespace

GSErrCode HostServices::Environment(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    HostCallRecord call(*this, world, TableOperation::Environment, token);
    const UInt32 request = static_cast<UInt32>(code);
    if (call.Recording()) {
        call.Arguments()["code"] = FourLetterText(request);
        if (request == SpecialFolderQuery && par1 != nullptr) {
            call.Arguments()["folderNumber"] = *static_cast<const Int32*>(par1);
        }
        call.Arguments()["par2"] = AddressText(par2);
        call.Arguments()["par3"] = AddressText(par3);
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (request != SpecialFolderQuery) {
        return call.Finish(GSErr::BadParameter);
    }
    if (par1 == nullptr || par2 == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    auto folder = world.specialFolders.find(*static_cast<const Int32*>(par1));
    if (folder == world.specialFolders.end()) {
        return call.Finish(GSErr::NotFound);
    }
    *static_cast<IO::Location*>(par2) = IO::Location(GS::UniString(folder->second.c_str(), CC_UTF8));
    if (call.Recording()) {
        call.Arguments()["folder"] = folder->second;
    }
    return call.Finish(NoError);
}

// The whole of a 'SAVE' is the host's work, its bookkeeping included: none of it is the add-on's time.
GSErrCode HostServices::Automate(AddOnToken token, Int32 code, void* par1, void* par2, void* par3) {
    const UInt32 request = static_cast<UInt32>(code);
    const Stopwatch watch;
    const GSErrCode result = AnswerAutomate(token, request, par1, par2, par3);
    if (request == SaveRequest && world.timings != nullptr) {
        world.timings->AddSave(watch.Elapsed());
    }
    return result;
}

GSErrCode HostServices::AnswerAutomate(AddOnToken token, UInt32 request, void* par1, void* par2, void* par3) {
    HostCallRecord call(*this, world, TableOperation::Automate, token);
    call.Arguments()["code"] = FourLetterText(request);
    if (request == SaveRequest) {
        DescribeSaveRequest(call.Arguments(), par1, par2);
    }
    call.Arguments()["par3"] = AddressText(par3);
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (request != SaveRequest) {
        return call.Finish(GSErr::BadParameter);
    }
    if (world.saf == nullptr || world.project == nullptr) {
        call.Arguments()["note"] = "this host has no SAF add-on or no open project";
        return call.Finish(RequestNotAvailable);
    }
    return call.Finish(SaveRequested(call.Subject()->name, static_cast<const SaveFileRecord*>(par1),
                                     static_cast<const SafSaveParameterRecord*>(par2)));
}

// File type 69 with parameter kind 2 goes to the SAF add-on's writer; the host offers no other type.
GSErrCode HostServices::SaveRequested(const std::string& module, const SaveFileRecord* file,
                                      const SafSaveParameterRecord* parameters) {
    Json fields;
    fields["module"] = module;
    SafSaveOutcome outcome;
    if (file == nullptr || file->fileType != SafWorkbookFileType || file->location == nullptr) {
        outcome.code = SaveFileTypeNotOffered;
        outcome.reason = "only file type 69 (SAF workbook) with a location can be saved";
    } else if (parameters == nullptr || parameters->parameterKind != SafTranslatorByNameKind) {
        outcome.code = SaveParameterNotOffered;
        outcome.reason = "a SAF save needs parameter kind 2 (translator by name)";
    }
    if (file != nullptr) {
        fields["fileType"] = file->fileType;
        fields["path"] = file->location != nullptr ? PathOf(*file->location) : std::string();
    }
    if (parameters != nullptr) {
        fields["parameterKind"] = parameters->parameterKind;
        fields["translator"] = parameters->translatorName.ToUTF8().Get();
    }
    if (outcome.code == NoError) {
        // std::clog: standard error past the terminal filter, which would print the line's controls.
        CommandLine::ProgressLine progress(std::clog, world.showProgress, "hostsim");
        const std::string path = TerminalSafe(PathOf(*file->location));
        progress.Stage("saving the SAF workbook " + path, 0, CommandLine::ProgressLine::Unit::Bytes);
        outcome =
            SaveSafWorkbook(world.project->Model(), world.saf->Translators(), parameters->translatorName,
                            PathFromUtf8(PathOf(*file->location)), WorkbookLimits(),
                            [&](std::uint64_t written) { progress.Advance(written); });
        if (outcome.code == NoError) {
            progress.Finish("saved the SAF workbook " + path + " (" +
                            CommandLine::ByteCountText(outcome.bytes) + ")");
        }
    }
    fields["result"] = outcome.code;
    fields["resultHex"] = FormatResultCodeHex(outcome.code);
    if (outcome.code != NoError) {
        fields["reason"] = outcome.reason;
    } else {
        Json sheets = Json::array();
        for (const SafWorkbook::SheetCount& sheet : outcome.sheets) {
            sheets.push_back({{"sheet", sheet.sheet}, {"rows", sheet.objects}});
        }
        fields["sheets"] = std::move(sheets);
        fields["bytes"] = outcome.bytes;
    }
    world.transcript.Write("save", fields);
    return outcome.code;
}

GSErrCode HostServices::CommandCall(AddOnToken token, const AddOnModuleId* target, UInt32 command,
                                    UInt32 version, void* parameter, void* result, bool silent) {
    HostCallRecord call(*this, world, TableOperation::CommandCall, token);
    if (call.Recording()) {
        if (target != nullptr) {
            call.Arguments()["target"] = {FormatResultCodeHex(static_cast<GSErrCode>(target->first)),
                                          FormatResultCodeHex(static_cast<GSErrCode>(target->second))};
        }
        call.Arguments()["command"] = FourLetterText(command);
        call.Arguments()["version"] = version;
        call.Arguments()["parameter"] = AddressText(parameter);
        call.Arguments()["result"] = AddressText(result);
        call.Arguments()["silent"] = silent;
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    // The SAF add-on is the only add-on of this host that answers command calls.
    GSErrCode outcome = GSErr::NotFound;
    Json details = Json::object();
    if (target == nullptr || world.saf == nullptr || !SAF::IsSafModule(*target)) {
        details["reason"] = "no add-on with that module identifier answers command calls";
    } else {
        outcome = world.saf->Call(command, version, parameter, result, call.Subject()->name, details);
    }
    if (!call.Recording()) {
        return call.Finish(outcome);
    }
    Json fields;
    fields["module"] = call.Subject()->name;
    fields["target"] = call.Arguments().value("target", Json());
    fields["command"] = FourLetterText(command);
    fields["version"] = version;
    fields.update(details);
    fields["result"] = outcome;
    fields["resultHex"] = FormatResultCodeHex(outcome);
    world.transcript.Write("command-call", fields);
    return call.Finish(outcome);
}

} // namespace HostSim
