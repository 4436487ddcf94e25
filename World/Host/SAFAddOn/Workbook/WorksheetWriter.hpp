#pragma once

#include "SharedStrings.hpp"
#include "WorkbookStyles.hpp"
#include "ZipStreamWriter.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace SafWorkbook {

// One worksheet part written row by row into the open zip entry: cells go into a small buffer that is
// handed to the compressor whenever it fills, so a sheet of any length costs the same memory. Texts
// are inline strings, or shared strings for texts that repeat; an empty text or a skipped column
// leaves no cell at all, as readers expect of an empty optional value. A cell carries its reference
// only after a gap: without one it is the next column, as every reader counts.
class WorksheetWriter {
public:
    // `widths`: one per column, in characters. An object sheet keeps its header row in view.
    WorksheetWriter(ZipStreamWriter& zip, SharedStrings& shared, const std::vector<double>& widths,
                    bool freezeHeaderRow);

    void BeginRow();
    void Text(std::string_view text, CellStyle style = CellStyle::General);
    // A text of the kind that repeats from row to row.
    void Word(std::string_view text, CellStyle style = CellStyle::General);
    void Number(double value, CellStyle style = CellStyle::General);
    void Skip(std::size_t columns = 1);
    void EndRow();
    // The end of the part; false when the zip refused any of it.
    bool Finish();

    std::size_t Rows() const { return rowNumber; }
    // The columns of the current row so far, skipped ones included.
    std::size_t Column() const { return column; }

private:
    void OpenCell(CellStyle style, const char* type);
    void FlushWhenFull();

    ZipStreamWriter& zip;
    SharedStrings& sharedStrings;
    std::string buffer;
    std::vector<std::string> columnLetters;
    std::size_t rowNumber = 0;
    std::string rowText;
    std::size_t column = 0;
    std::size_t nextUnreferenced = 0; // the column a cell without a reference would land in
    bool good = true;
};

// "A", "B", ... "Z", "AA", ... for column 0, 1, ...
std::string ColumnLetters(std::size_t column);

} // namespace SafWorkbook
