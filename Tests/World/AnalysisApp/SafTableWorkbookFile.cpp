#include "SafTableWorkbookFile.hpp"

#include "ByteSink.hpp"
#include "ZipStreamWriter.hpp"

namespace SafTableWorkbook {
namespace {

// Rows gather into pieces of this size before they go to the compressor.
constexpr std::size_t PieceSize = std::size_t{1} << 16;

bool WriteSheet(RowMaker& maker, const AnalysisApp::SheetRule& sheet, std::size_t index,
                SafWorkbook::ZipStreamWriter& zip) {
    // The fastest level: the file is made to be read, and is written afresh for every size.
    if (!zip.BeginEntry(TinySafWorkbook::SheetPartName(index), {true, 1, true})) {
        return false;
    }
    std::string piece(TinySafWorkbook::WorksheetStart);
    std::size_t number = 1;
    if (!sheet.keyValue) {
        TinySafWorkbook::AppendRowXml(number++, maker.Header(sheet), piece);
    }
    for (std::size_t row = 0; row < maker.ObjectsOf(sheet); ++row) {
        TinySafWorkbook::AppendRowXml(number++, maker.Row(sheet, row), piece);
        if (piece.size() >= PieceSize) {
            if (!zip.Write(piece)) {
                return false;
            }
            piece.clear();
        }
    }
    piece += TinySafWorkbook::WorksheetEnd;
    return zip.Write(piece) && zip.EndEntry();
}

bool WritePart(SafWorkbook::ZipStreamWriter& zip, std::string_view name, const std::string& xml) {
    return zip.BeginEntry(std::string(name)) && zip.Write(xml) && zip.EndEntry();
}

} // namespace

std::string WriteFile(const AnalysisApp::SafTable& table, const ObjectCounts& counts,
                      const std::filesystem::path& path) {
    RowMaker maker(table, counts);
    SafWorkbook::FileSink file(path);
    SafWorkbook::ZipStreamWriter zip(file);
    std::vector<std::string> names;
    bool written = file.Good();
    for (std::size_t index = 0; written && index < maker.Sheets().size(); ++index) {
        names.push_back(maker.Sheets()[index]->name);
        written = WriteSheet(maker, *maker.Sheets()[index], index, zip);
    }
    written = written && WritePart(zip, TinySafWorkbook::WorkbookPart, TinySafWorkbook::WorkbookXml(names)) &&
              WritePart(zip, TinySafWorkbook::WorkbookRelationshipsPart,
                        TinySafWorkbook::WorkbookRelationshipsXml(names.size())) &&
              zip.Finish();
    const bool closed = file.Close();
    if (!written && !zip.Error().empty()) {
        return zip.Error();
    }
    return written && closed ? std::string() : "cannot write " + path.string();
}

} // namespace SafTableWorkbook
