#pragma once

#include "Container/ByteSource.hpp"
#include "Container/ZipArchive.hpp"
#include "Xml/XmlReader.hpp"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An .xlsx workbook, the way any writer may have made it: the workbook part found through the
// package relationships, sheets named in workbook.xml and located through its relationships, texts
// from shared strings, inline strings or formula results. Sheets are read row by row straight out of
// the zip, so a sheet of any length costs the memory of one row.
namespace AnalysisApp {

struct SheetCell {
    std::size_t column = 0; // 0 for A
    std::string ownValue;   // texts as they are, numbers and dates as their stored text
    bool text = false;      // a text cell (shared, inline or formula string), not a number
    bool isShared = false;  // a shared string: `shared` is the package's one copy, instead of ownValue
    std::string_view shared;

    std::string_view Value() const { return isShared ? shared : std::string_view(ownValue); }
};

// The workbook's shared strings, one after the other in one text: millions of short strings cost
// their bytes and one offset each, not a string object each.
class SharedStringTable {
public:
    void Add(std::string_view text) {
        texts += text;
        ends.push_back(texts.size());
    }
    std::size_t size() const { return ends.size(); }
    // Valid once the table is complete, as long as the package lives.
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends[index - 1];
        return std::string_view(texts).substr(begin, ends[index] - begin);
    }

private:
    std::string texts;
    std::vector<std::size_t> ends;
};

struct SheetRow {
    std::size_t number = 0; // 1-based, as the sheet numbers it
    std::vector<SheetCell> cells;

    // The value in this column, or empty.
    std::string_view ValueAt(std::size_t column) const;
};

struct SheetTable {
    std::string name;
    std::vector<SheetRow> rows; // only rows that hold at least one non-empty cell, in order
};

class SpreadsheetPackage {
public:
    // Empty text when `bytes` (which must outlive the package) is an .xlsx workbook; else why not.
    std::string Open(std::string_view bytes);
    // The same for a file, which is read piece by piece as it is needed; `progress` hears of each read.
    std::string OpenFile(const std::filesystem::path& path, ReadProgress progress = {});

    const std::vector<std::string>& SheetNames() const { return sheetNames; }
    bool HasSheet(std::string_view name) const;

    // The part of the sheet with this name, as a stream of XML; nothing (and why in `error`) when the
    // sheet or its part is missing.
    std::unique_ptr<XmlInput> OpenSheet(std::string_view name, std::string& error) const;
    // The path of that part; empty when there is none.
    std::string SheetPart(std::string_view name) const;
    const SharedStringTable& SharedStrings() const { return sharedStrings; }

    // The sheet's cells as a whole, for small sheets, each holding its own value (the table may
    // outlive the package); an error text in `error` when the sheet's part
    // is missing or damaged.
    std::optional<SheetTable> ReadSheet(std::string_view name, std::string& error) const;

private:
    std::string OpenSource();
    std::unique_ptr<XmlInput> OpenPart(const std::string& path, std::string& error) const;
    std::string ReadSharedStrings(const std::string& path);

    std::unique_ptr<ByteSource> source;
    ZipListing listing;
    std::vector<std::string> sheetNames;
    std::vector<std::string> sheetParts;
    // The first sheet of each name, so that a workbook of many sheets is not searched sheet by sheet.
    std::unordered_map<std::string, std::size_t> sheetIndex;
    SharedStringTable sharedStrings;
};

// The last row and column (XFD, 0-based) a sheet has.
constexpr std::size_t LastRow = 1048576;
constexpr std::size_t LastColumn = 16383;

// Why the reader could not place a row or a cell of a sheet. Such a place is skipped (a row with all
// its cells) and the sheet read on: one bad reference must not cost the rest of the sheet, and a
// reference is never wrapped onto another place.
enum class Misplacement {
    RowNotANumber,      // "x", "-5", "0"
    RowBeyondLast,      // past row 1 048 576
    RowBackwards,       // a lower number than the row before it
    RowRepeated,        // the number of the row before it
    CellNotAReference,  // "2B", "B", "B2x"
    CellBeyondLast,     // past column XFD
    CellOfAnotherRow,   // "B9" in row 2
    CellLeftOfPrevious, // "A2" after "C2", or "B2" twice
};

struct SkippedPlace {
    Misplacement what;
    std::string_view reference; // as written, valid during the call only; empty when there is none
    std::size_t row;            // the row a cell stands in; for a row, the last row read before it
    std::size_t nextColumn;     // for a cell: the column after the last cell read in its row
};

// Hears of each place the reader skipped, as it reads.
using SkippedPlaceListener = std::function<void(const SkippedPlace&)>;

// The rows of one sheet, one at a time: only rows that hold a non-empty cell, in the sheet's order.
class SheetRowReader {
public:
    // `skipped` hears of the rows and cells that could not be placed; without it they are left out
    // silently.
    SheetRowReader(const SpreadsheetPackage& package, std::string_view sheetName,
                   SkippedPlaceListener skipped = {});
    ~SheetRowReader();
    SheetRowReader(const SheetRowReader&) = delete;
    SheetRowReader& operator=(const SheetRowReader&) = delete;

    // False at the end of the sheet, or on an error that Error() then names.
    bool Next(SheetRow& row);
    const std::string& Error() const { return error; }

private:
    class Walker;

    // In this order: opening the sheet's part sets `error`.
    std::string sheet;
    std::string part;
    SkippedPlaceListener onSkipped;
    std::string error;
    std::unique_ptr<XmlInput> input;
    std::unique_ptr<Walker> walker;
};

// A relationship target resolved against the folder of the part that names it:
// ("xl/workbook.xml", "worksheets/sheet1.xml") -> "xl/worksheets/sheet1.xml"; "/xl/a.xml" -> "xl/a.xml".
std::string ResolvePartPath(std::string_view sourcePart, std::string_view target);

// "AB12" -> column 27 (0-based); nothing for a reference without letters or beyond column XFD.
std::optional<std::size_t> ColumnOfReference(std::string_view reference);

} // namespace AnalysisApp
