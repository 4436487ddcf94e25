#pragma once

#include <string>
#include <vector>

// The XML parts of an .xlsx package around its worksheets. Sheet N (from 1) lives in
// xl/worksheets/sheetN.xml and is related to the workbook as rIdN; the styles part follows as the
// next relationship. Texts are inline strings, so no shared-strings part is needed.
namespace SafWorkbook {

std::string ContentTypesXml(std::size_t sheetCount);
std::string PackageRelationshipsXml();
std::string WorkbookXml(const std::vector<std::string>& sheetNames);
std::string WorkbookRelationshipsXml(std::size_t sheetCount);

} // namespace SafWorkbook
