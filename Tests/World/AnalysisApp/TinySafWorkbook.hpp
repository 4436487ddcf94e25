#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A small SAF workbook held as cells, changed cell by cell and packed as an .xlsx: the clean portal
// frame every checker rule starts from, so that each rule's test shows exactly the one finding its
// change causes.
namespace TinySafWorkbook {

struct Cell {
    Cell() = default;
    Cell(const char* text) : value(text) {}
    Cell(std::string text) : value(std::move(text)) {}
    static Cell Number(std::string digits) {
        Cell cell(std::move(digits));
        cell.number = true;
        return cell;
    }
    std::string value;
    bool number = false;
};

struct Sheet {
    std::string name;
    std::vector<std::vector<Cell>> rows;
};

class Workbook {
public:
    Workbook() = default;
    explicit Workbook(std::vector<Sheet> allSheets) : sheets(std::move(allSheets)) {}

    // A metric portal frame of SAF 2.2.0 that checks clean: two members, a plate, two supports.
    static Workbook PortalFrame();

    // Sets the cell at a reference ("B3"), growing the sheet as needed; an empty text empties it.
    Workbook& Set(const std::string& sheet, const std::string& reference, Cell value);
    // Removes the column whose header (row 1) is exactly `header`.
    Workbook& RemoveColumn(const std::string& sheet, const std::string& header);
    Workbook& RemoveSheet(const std::string& sheet);
    Workbook& AddSheet(Sheet sheet);
    // Moves the sheet behind all others.
    Workbook& MoveToEnd(const std::string& sheet);

    // The .xlsx bytes: inline strings for texts, numeric cells for numbers; every part deflated, or
    // stored as it is (quicker to make, for tests that make thousands).
    std::string Bytes(bool deflate = true) const;

private:
    Sheet& Find(const std::string& name);

    std::vector<Sheet> sheets;
};

// The parts of a package, for a writer that streams its sheets (SafTableWorkbookFile) as Bytes() holds
// them: a worksheet is WorksheetStart, its rows, WorksheetEnd.
constexpr std::string_view WorksheetStart =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
constexpr std::string_view WorksheetEnd = "</sheetData></worksheet>";
constexpr std::string_view Relationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view WorkbookPart = "xl/workbook.xml";
constexpr std::string_view WorkbookRelationshipsPart = "xl/_rels/workbook.xml.rels";

// Row `number` (1 for the first) as worksheet XML, appended to `xml`: texts as inline strings, numbers
// as values, empty cells left out.
void AppendRowXml(std::size_t number, const std::vector<Cell>& cells, std::string& xml);
std::string WorkbookXml(const std::vector<std::string>& sheetNames);
std::string WorkbookRelationshipsXml(std::size_t sheetCount);
// The part of the sheet at `index` (0 for the first).
std::string SheetPartName(std::size_t index);

} // namespace TinySafWorkbook
