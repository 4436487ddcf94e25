#pragma once

#include "OpenCommandScenario.hpp"

#include <filesystem>
#include <string>
#include <vector>

// The paths and names matrix: folder names that command lines, shells and encodings get wrong, each
// placed as the export folder (special folder 7), the installation folder (the registry's
// InstallDir), or both, with the outcome the host's path rules give on this platform.
namespace Scenarios {

enum class Role { ExportFolder, InstallFolder };
enum class Placement { ExportFolder, InstallFolder, Both };
enum class Outcome { Exported, SaveFailed, ApplicationNotFound };

// A folder of the matrix: where it is on disk, the text the host or the registry is given for it,
// and the folder text the add-on must compose the workbook's or the executable's path from.
struct PlacedFolder {
    std::filesystem::path onDisk;
    std::string given;
    std::string expected;
};

struct PathItem {
    std::string name;
    PlacedFolder (*place)(const std::filesystem::path& base, Role role);
    Outcome asExportFolder = Outcome::Exported;
    Outcome asInstallFolder = Outcome::Exported;
};

struct MatrixCase {
    PathItem item;
    Placement placement;

    // The locator runs before the workbook's folder is looked at.
    Outcome Expected() const;
};

// Every item of this platform, each in all three placements.
std::vector<MatrixCase> MatrixCases();
std::string MatrixCaseName(const ::testing::TestParamInfo<MatrixCase>& info);

inline const std::string WorkbookName = "ACToVELDEngineer.xlsx";

// `folder` and `name` joined with one native separator.
std::string ChildText(const std::string& folder, const std::string& name);
// The script line that closes what the outcome leaves on screen.
std::string ClosingLine(Outcome outcome);

} // namespace Scenarios
