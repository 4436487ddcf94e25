#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// What a SAF translator asks of the workbook writer.
namespace SafWorkbook {

enum class UnitSystem { Metric, Imperial };

// Which element kinds reach the workbook. Materials, cross-sections and nodes follow the elements:
// only those an exported element uses are written.
struct ElementKinds {
    bool columns = true; // curve members of type Column
    bool beams = true;   // every other curve member
    bool slabs = true;   // surface members of type Plate or Shell
    bool walls = true;   // surface members of type Wall
    bool supports = true;
    bool storeys = true;
};

struct ExportOptions {
    ElementKinds kinds;
    UnitSystem unitSystem = UnitSystem::Metric;
    std::string sourceApplication = "hostsim";
    // The Model's and the Project's "Created" and "Last update"; the moment of writing when empty.
    std::optional<std::chrono::sys_seconds> exportedAt;
};

const char* UnitSystemName(UnitSystem system);

// Sets the kind named "columns", "beams", "slabs", "walls", "supports" or "storeys"; false for any
// other name.
bool SetElementKind(ElementKinds& kinds, std::string_view name, bool exported);

} // namespace SafWorkbook
