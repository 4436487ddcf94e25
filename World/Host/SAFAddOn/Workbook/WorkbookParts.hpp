#pragma once

#include <string>
#include <vector>

// The XML parts of an .xlsx package around its worksheets. Sheet N (from 1) lives in
// xl/worksheets/sheetN.xml and is related to the workbook as rIdN; the styles part and the
// shared-strings part follow as the next two relationships.
namespace SafWorkbook {

std::string ContentTypesXml(std::size_t sheetCount);
std::string PackageRelationshipsXml();
std::string WorkbookXml(const std::vector<std::string>& sheetNames);
std::string WorkbookRelationshipsXml(std::size_t sheetCount);

} // namespace SafWorkbook
