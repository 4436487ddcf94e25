#pragma once

#include "BuildingModel.hpp"
#include "ExportOptions.hpp"
#include "ExportSelection.hpp"
#include "Geometry.hpp"
#include "SharedStrings.hpp"
#include "ZipStreamWriter.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace SafWorkbook {

constexpr const char* SafVersion = "2.2.0";

// The SAF sheets of an exported model whose references hold (as the model reader guarantees), each
// written row by row into its own worksheet part: the key/value sheets Model and Project first, then
// every object sheet with its header row, in the order readers usually list them.
class SafSheetWriter {
public:
    SafSheetWriter(const Building::Model& model, const ExportedModel& exported, const ModelGeometry& geometry,
                   const ExportOptions& options, std::chrono::sys_seconds exportedAt);

    static const std::vector<std::string>& SheetNames();

    // Writes sheet `index` of SheetNames() into the open zip entry. The number of objects (rows below
    // the header; for a key/value sheet its property rows), or nothing when the zip refused the part.
    std::optional<std::size_t> Write(std::size_t index, ZipStreamWriter& zip, SharedStrings& shared) const;

    // What every sheet is written from.
    struct Source {
        const Building::Model& model;
        const ExportedModel& exported;
        const ModelGeometry& geometry;
        UnitSystem system;
        std::string sourceApplication;
        std::chrono::sys_seconds exportedAt;
    };

private:
    Source source;
};

} // namespace SafWorkbook
