#include "SafWorkbookWriter.hpp"

#include "AtomicFile.hpp"
#include "ByteSink.hpp"
#include "ExportSelection.hpp"
#include "Geometry.hpp"
#include "SafSheets.hpp"
#include "WorkbookParts.hpp"
#include "WorkbookStyles.hpp"
#include "ZipStreamWriter.hpp"

namespace SafWorkbook {
namespace {

// Worksheets are large and repetitive: zlib's fastest level packs them nearly as tightly as its
// default at a fraction of the time.
constexpr int WorksheetLevel = 1;

WriteReport NotWritten(std::string reason) {
    WriteReport report;
    report.error = std::move(reason);
    return report;
}

bool PutPart(ZipStreamWriter& zip, const std::string& name, const std::string& xml) {
    return zip.BeginEntry(name) && zip.Write(xml) && zip.EndEntry();
}

} // namespace

WriteReport WriteSafWorkbookTo(const Building::Model& model, const ExportOptions& options, ByteSink& sink) {
    const ModelGeometry geometry(model);
    const ExportedModel exported = SelectExported(model, options.kinds, geometry);
    const std::chrono::sys_seconds exportedAt = options.exportedAt.value_or(
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    const SafSheetWriter sheets(model, exported, geometry, options, exportedAt);
    const std::vector<std::string>& names = SafSheetWriter::SheetNames();

    ZipStreamWriter zip(sink);
    bool good = PutPart(zip, "[Content_Types].xml", ContentTypesXml(names.size())) &&
                PutPart(zip, "_rels/.rels", PackageRelationshipsXml()) &&
                PutPart(zip, "xl/workbook.xml", WorkbookXml(names)) &&
                PutPart(zip, "xl/_rels/workbook.xml.rels", WorkbookRelationshipsXml(names.size())) &&
                PutPart(zip, "xl/styles.xml", StylesXml());
    SharedStrings shared;
    WriteReport report;
    for (std::size_t index = 0; good && index < names.size(); ++index) {
        ZipEntryOptions entry;
        entry.level = WorksheetLevel;
        entry.mayExceed4GiB = true;
        good = zip.BeginEntry("xl/worksheets/sheet" + std::to_string(index + 1) + ".xml", entry);
        const std::optional<std::size_t> objects = good ? sheets.Write(index, zip, shared) : std::nullopt;
        good = objects && zip.EndEntry();
        if (good) {
            report.sheets.push_back({names[index], *objects});
        }
    }
    good = good && PutPart(zip, "xl/sharedStrings.xml", shared.Xml());
    if (!good || !zip.Finish()) {
        return NotWritten(zip.Error().empty() ? "cannot write the workbook" : zip.Error());
    }
    report.written = true;
    report.parts = zip.EntrySizes();
    report.bytes = static_cast<std::size_t>(sink.Size());
    return report;
}

WriteReport WriteSafWorkbook(const Building::Model& model, const ExportOptions& options,
                             const std::filesystem::path& target,
                             const std::function<void(std::uint64_t written)>& written) {
    WriteReport report;
    const Result<> replaced =
        AtomicFile::Replace(target, [&](const std::filesystem::path& temporary) -> Result<> {
            FileSink sink(temporary);
            if (!sink.Good()) {
                return Failure{"cannot create " + temporary.string()};
            }
            WatchedSink watched(sink, written);
            report = WriteSafWorkbookTo(model, options, written ? static_cast<ByteSink&>(watched) : sink);
            if (!sink.Close() && report.written) {
                return Failure{"cannot write " + temporary.string()};
            }
            if (!report.written) {
                return Failure{report.error};
            }
            return {};
        });
    if (!replaced) {
        return NotWritten(replaced.Error());
    }
    return report;
}

std::string DescribeSheets(const std::vector<SheetCount>& sheets) {
    std::string text;
    for (const SheetCount& count : sheets) {
        text += (text.empty() ? "" : ", ") + count.sheet + " " + std::to_string(count.objects);
    }
    return text;
}

} // namespace SafWorkbook
