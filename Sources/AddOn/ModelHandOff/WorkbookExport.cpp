#include "WorkbookExport.hpp"

#include "AddOnMain.hpp"
#include "HostServices.hpp"
#include "TranslatorSettings/TranslatorStore.hpp"

#include "File.hpp"
#include "FileTests.hpp"
#include "Folder.hpp"
#include "Handles.hpp"
#include "HostFunctionTable.hpp"
#include "Name.hpp"
#include "SaveRecords.hpp"

#include <optional>

namespace {
constexpr Int32 ExportFolderNumber = 7;
constexpr Int32 SpecialFolderRequest = static_cast<Int32>(FourLetterCode("GSPF"));
constexpr Int32 SaveRequest = static_cast<Int32>(FourLetterCode("SAVE"));
} // namespace

IO::Location GetWorkbookLocation() {
    IO::Location folderLocation;
    Int32 folderNumber = ExportFolderNumber;
    // A host that cannot name the folder leaves the location as it was; the usability test that
    // follows turns that into the save-failed alert.
    static_cast<void>(HostEnvironment(SpecialFolderRequest, &folderNumber, &folderLocation, nullptr));
    const IO::Folder folder(folderLocation, IO::OnNotFound::FailIfMissing);
    const IO::Name name(WorkbookFileName);
    const IO::File file(folder, name, IO::OnNotFound::AcceptMissing);
    return file.GetLocation();
}

bool IsWorkbookLocationUsable(const IO::Location& location) {
    return location.IsLegalInNativeFileSystem() && CanCreateOrWriteFile(location);
}

GSErrCode ExportModelToSAF(const IO::Location& location) {
    const std::optional<GS::UniString> translatorName = ReadTranslatorName();

    SaveFileRecord fileRecord;
    fileRecord.fileType = SafWorkbookFileType;
    fileRecord.location = &location;

    // The host reads the parameter record as raw bytes: everything but the two fields is zero, and an
    // all-zero string is the empty string.
    SafSaveParameterRecord parameters;
    BNFillMemory(&parameters, static_cast<GSSize>(sizeof(parameters)), 0);
    parameters.parameterKind = SafTranslatorByNameKind;
    parameters.translatorName = translatorName.value_or(GS::UniString());

    return HostAutomate(SaveRequest, &fileRecord, &parameters, nullptr);
}
