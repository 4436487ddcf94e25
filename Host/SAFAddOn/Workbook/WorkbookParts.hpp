#pragma once

#include "SheetTable.hpp"

#include <string>
#include <vector>

// The XML parts of an .xlsx package. Sheet N (from 1) lives in xl/worksheets/sheetN.xml and is
// related to the workbook as rIdN; texts are inline strings, so no shared-strings part is needed.
namespace SafWorkbook {

std::string ContentTypesXml(std::size_t sheetCount);
std::string PackageRelationshipsXml();
std::string WorkbookXml(const std::vector<Sheet>& sheets);
std::string WorkbookRelationshipsXml(std::size_t sheetCount);
std::string WorksheetXml(const Sheet& sheet);

// "A", "B", ... "Z", "AA", ... for column 0, 1, ...
std::string ColumnLetters(std::size_t column);

} // namespace SafWorkbook
