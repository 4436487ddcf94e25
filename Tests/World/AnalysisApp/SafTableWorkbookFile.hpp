#pragma once

#include "SafTableWorkbook.hpp"

#include <filesystem>
#include <string>

// The table-made workbook (SafTableWorkbook.hpp) written to a file row by row, each sheet deflated as
// it is written: what it holds at any moment is one row and the compressor's window, so a workbook of
// millions of objects costs no more memory than one of four.
namespace SafTableWorkbook {

// What went wrong; empty when the workbook was written whole.
std::string WriteFile(const AnalysisApp::SafTable& table, const ObjectCounts& counts,
                      const std::filesystem::path& path);

} // namespace SafTableWorkbook
