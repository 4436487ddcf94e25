#pragma once

#include "BuildingModel.hpp"
#include "ByteSink.hpp"
#include "ExportOptions.hpp"
#include "ZipStreamWriter.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The SAF add-on's workbook writer: a building model and a translator's options in, an .xlsx out.
namespace SafWorkbook {

struct SheetCount {
    std::string sheet;
    std::size_t objects = 0; // rows below the header; for Model, its property rows
};

struct WriteReport {
    bool written = false;
    std::string error;               // when not written: why; the target is then as it was
    std::vector<SheetCount> sheets;  // in workbook order, when written
    std::vector<ZipEntrySize> parts; // every part of the package, when written
    std::size_t bytes = 0;
};

// Every SAF sheet is present even when the options export nothing: object sheets then hold just
// their header row, so a reader always finds the sheets it looks for.
// `written`, when given, hears the count of bytes written so far as the workbook grows.
WriteReport WriteSafWorkbook(const Building::Model& model, const ExportOptions& options,
                             const std::filesystem::path& target,
                             const std::function<void(std::uint64_t written)>& written = {});

// Into a sink of the caller's, for callers that place the bytes themselves.
WriteReport WriteSafWorkbookTo(const Building::Model& model, const ExportOptions& options, ByteSink& sink);

// "Model 20, StructuralMaterial 2, ..." for a transcript line.
std::string DescribeSheets(const std::vector<SheetCount>& sheets);

} // namespace SafWorkbook
