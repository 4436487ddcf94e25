#pragma once

#include <string>
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

} // namespace TinySafWorkbook
