#pragma once

#include "ZipArchive.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An .xlsx workbook read from memory, the way any writer may have made it: the workbook part found
// through the package relationships, sheets named in workbook.xml and located through its
// relationships, texts from shared strings, inline strings or formula results.
namespace AnalysisApp {

struct SheetCell {
    std::size_t column = 0; // 0 for A
    std::string value;      // texts as they are, numbers and dates as their stored text
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

    const std::vector<std::string>& SheetNames() const { return sheetNames; }
    bool HasSheet(std::string_view name) const;

    // The sheet's cells; an error text in `error` when the sheet's part is missing or damaged.
    std::optional<SheetTable> ReadSheet(std::string_view name, std::string& error) const;

    // No part is inflated beyond this, whatever its header claims.
    static constexpr std::size_t PartSizeLimit = std::size_t{512} * 1024 * 1024;

private:
    std::optional<std::string> ReadPart(const std::string& path, std::string& error) const;
    std::string ReadSharedStrings(const std::string& path);

    std::string_view archive;
    ZipListing listing;
    std::vector<std::string> sheetNames;
    std::vector<std::string> sheetParts;
    std::vector<std::string> sharedStrings;
};

// A relationship target resolved against the folder of the part that names it:
// ("xl/workbook.xml", "worksheets/sheet1.xml") -> "xl/worksheets/sheet1.xml"; "/xl/a.xml" -> "xl/a.xml".
std::string ResolvePartPath(std::string_view sourcePart, std::string_view target);

// "AB12" -> column 27 (0-based); nothing for a reference without letters or beyond column XFD.
std::optional<std::size_t> ColumnOfReference(std::string_view reference);

} // namespace AnalysisApp
