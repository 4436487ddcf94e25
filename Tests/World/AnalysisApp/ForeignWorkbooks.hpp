#pragma once

#include <map>
#include <string>

// Workbooks put together part by part, the way other spreadsheet programs and SAF tools write them,
// for the reader to prove itself on.
namespace ForeignWorkbooks {

using Parts = std::map<std::string, std::string>;

// A package with the given parts, deflated, in name order.
std::string Package(const Parts& parts);

// A SAF workbook as a spreadsheet program saves it: the workbook part in "book/", sheets in files
// named unlike their sheets and listed out of order, texts in shared strings (one of them rich text
// with a phonetic run), prefixed element names, empty and styled-but-empty rows, an extra sheet and
// an extra column, a numeric node name, and a node row without a name.
Parts SpreadsheetProgramParts();

} // namespace ForeignWorkbooks
