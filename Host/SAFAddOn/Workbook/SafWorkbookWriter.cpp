#include "SafWorkbookWriter.hpp"

#include "AtomicReplace.hpp"
#include "ExportSelection.hpp"
#include "SafSheets.hpp"
#include "WorkbookParts.hpp"
#include "ZipWriter.hpp"

namespace SafWorkbook {

WriteReport BuildSafWorkbook(const Building::Model& model, const ExportOptions& options, std::string& bytes) {
    const std::vector<Sheet> sheets = BuildSafSheets(SelectExported(model, options.kinds), options);
    std::vector<ZipEntry> entries{
        {"[Content_Types].xml", ContentTypesXml(sheets.size())},
        {"_rels/.rels", PackageRelationshipsXml()},
        {"xl/workbook.xml", WorkbookXml(sheets)},
        {"xl/_rels/workbook.xml.rels", WorkbookRelationshipsXml(sheets.size())},
    };
    WriteReport report;
    for (std::size_t index = 0; index < sheets.size(); ++index) {
        entries.push_back(
            {"xl/worksheets/sheet" + std::to_string(index + 1) + ".xml", WorksheetXml(sheets[index])});
        report.sheets.push_back({sheets[index].name, sheets[index].ObjectCount()});
    }
    ZipResult zip = BuildZip(entries);
    if (!zip.error.empty()) {
        return {false, zip.error, {}, 0};
    }
    bytes = std::move(zip.bytes);
    report.written = true;
    report.bytes = bytes.size();
    return report;
}

WriteReport WriteSafWorkbook(const Building::Model& model, const ExportOptions& options,
                             const std::filesystem::path& target) {
    std::string bytes;
    WriteReport report = BuildSafWorkbook(model, options, bytes);
    if (!report.written) {
        return report;
    }
    const std::string failure = WriteFileAtomically(target, bytes);
    if (!failure.empty()) {
        return {false, failure, {}, 0};
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
