#include "FrameBuilding.hpp"
#include "Program/SafSummary.hpp"
#include "SafRules/SafChecker.hpp"
#include "SafWorkbookWriter.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"
#include "WorksheetWriter.hpp"
#include "XmlText.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The workbook written into memory instead of a file.
SafWorkbook::WriteReport BuildSafWorkbook(const Building::Model& model,
                                          const SafWorkbook::ExportOptions& options, std::string& bytes) {
    bytes.clear();
    SafWorkbook::StringSink sink(bytes);
    return SafWorkbook::WriteSafWorkbookTo(model, options, sink);
}

std::string WorkbookBytes(const Building::Model& model, const SafWorkbook::ExportOptions& options) {
    std::string bytes;
    const SafWorkbook::WriteReport report = BuildSafWorkbook(model, options, bytes);
    EXPECT_TRUE(report.written) << report.error;
    return bytes;
}

AnalysisApp::SheetTable Sheet(const std::string& bytes, const std::string& name) {
    AnalysisApp::SpreadsheetPackage package;
    EXPECT_EQ(package.Open(bytes), "");
    std::string error;
    std::optional<AnalysisApp::SheetTable> table = package.ReadSheet(name, error);
    EXPECT_TRUE(table) << error;
    return table ? *table : AnalysisApp::SheetTable{};
}

class WorkbookFolder : public testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::path(testing::TempDir()) /
            ("h9-workbook-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                      std::filesystem::directory_iterator()));
    }

    std::filesystem::path folder;
};

TEST(WorkbookWriter, TheDemoBuildingIsReadBackWithEveryObjectCounted) {
    const Building::Model demo = Building::GenerateDemoBuilding();
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(WorkbookBytes(demo, {}));
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->safVersion, "2.2.0");
    EXPECT_EQ(reading.summary->unitSystem, "Metric");
    EXPECT_EQ(reading.summary->materials, demo.materials.size());
    EXPECT_EQ(reading.summary->crossSections, demo.crossSections.size());
    EXPECT_EQ(reading.summary->nodes, demo.nodes.size());
    EXPECT_EQ(reading.summary->members, demo.curveMembers.size());
    EXPECT_EQ(reading.summary->surfaces, demo.surfaceMembers.size());
    EXPECT_EQ(reading.summary->storeys, demo.storeys.size());
    EXPECT_EQ(reading.summary->supports, demo.supports.size());
}

TEST(WorkbookWriter, MembersCarryTheirNodesSegmentsAndLength) {
    const std::string bytes = WorkbookBytes(Building::GenerateDemoBuilding(), {});
    const AnalysisApp::SheetTable members = Sheet(bytes, "StructuralCurveMember");
    ASSERT_GE(members.rows.size(), 2u);
    const AnalysisApp::SheetRow& header = members.rows[0];
    EXPECT_EQ(header.ValueAt(4), "Nodes");
    EXPECT_EQ(header.ValueAt(7), "Length [m]");
    const AnalysisApp::SheetRow& firstColumn = members.rows[1];
    EXPECT_EQ(firstColumn.ValueAt(1), "Column");
    EXPECT_EQ(firstColumn.ValueAt(4), "N1;N13");
    EXPECT_EQ(firstColumn.ValueAt(5), "Line");
    EXPECT_EQ(firstColumn.ValueAt(7), "3.5");
    EXPECT_EQ(firstColumn.ValueAt(9), "Y by vector");

    const AnalysisApp::SheetTable surfaces = Sheet(bytes, "StructuralSurfaceMember");
    ASSERT_GE(surfaces.rows.size(), 2u);
    EXPECT_EQ(surfaces.rows[1].ValueAt(8), "Line;Line;Line;Line");
    EXPECT_EQ(surfaces.rows[1].ValueAt(9), "180"); // 18 m x 10 m
}

TEST(WorkbookWriter, ImperialConvertsValuesAndNamesTheUnitsInTheHeaders) {
    SafWorkbook::ExportOptions options;
    options.unitSystem = SafWorkbook::UnitSystem::Imperial;
    const std::string bytes = WorkbookBytes(Building::GenerateDemoBuilding(), options);

    const AnalysisApp::SheetTable nodes = Sheet(bytes, "StructuralPointConnection");
    EXPECT_EQ(nodes.rows[0].ValueAt(1), "Coordinate X [ft]");
    EXPECT_NEAR(std::stod(std::string(nodes.rows[2].ValueAt(1))), 6.0 / 0.3048, 1e-9);

    const AnalysisApp::SheetTable materials = Sheet(bytes, "StructuralMaterial");
    EXPECT_EQ(materials.rows[0].ValueAt(5), "E modulus [ksi]");
    EXPECT_NEAR(std::stod(std::string(materials.rows[1].ValueAt(5))), 30457.9, 0.1);

    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes);
    ASSERT_TRUE(reading.summary);
    EXPECT_EQ(reading.summary->unitSystem, "Imperial");
}

TEST(WorkbookWriter, LeavingOutColumnsAlsoLeavesOutWhatOnlyTheyUse) {
    SafWorkbook::ExportOptions options;
    options.kinds.columns = false;
    options.kinds.slabs = false;
    options.kinds.supports = false;
    const AnalysisApp::SafReading reading =
        AnalysisApp::ReadSafWorkbook(WorkbookBytes(Building::GenerateDemoBuilding(), options));
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->members, 34u);      // the beams
    EXPECT_EQ(reading.summary->nodes, 24u);        // the two floor levels, not the ground
    EXPECT_EQ(reading.summary->crossSections, 2u); // IPE270 and IPE220
    EXPECT_EQ(reading.summary->materials, 1u);     // S235 only: no slab, no concrete column
    EXPECT_EQ(reading.summary->surfaces, 0u);
    EXPECT_EQ(reading.summary->supports, 0u);
}

TEST(WorkbookWriter, OptionsThatExportNothingStillGiveEverySheetWithItsHeader) {
    SafWorkbook::ExportOptions options;
    options.kinds = {false, false, false, false, false, false};
    std::string bytes;
    const SafWorkbook::WriteReport report =
        BuildSafWorkbook(Building::GenerateDemoBuilding(), options, bytes);
    ASSERT_TRUE(report.written);
    ASSERT_EQ(report.sheets.size(), 9u);
    EXPECT_EQ(report.sheets[0].sheet, "Model");
    EXPECT_EQ(report.sheets[1].sheet, "Project");
    for (std::size_t index = 2; index < report.sheets.size(); ++index) {
        EXPECT_EQ(report.sheets[index].objects, 0u) << report.sheets[index].sheet;
        EXPECT_EQ(Sheet(bytes, report.sheets[index].sheet).rows.at(0).ValueAt(0), "Name");
    }
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes);
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->nodes, 0u);
}

TEST(WorkbookWriter, TheReportCountsTheObjectsOfEachSheet) {
    std::string bytes;
    const SafWorkbook::WriteReport report = BuildSafWorkbook(Building::GenerateDemoBuilding(), {}, bytes);
    EXPECT_EQ(
        SafWorkbook::DescribeSheets(report.sheets),
        "Model 20, Project 11, StructuralMaterial 2, StructuralCrossSection 4, StructuralPointConnection 36, "
        "StructuralCurveMember 58, StructuralSurfaceMember 2, StructuralStorey 3, StructuralPointSupport 12");
    EXPECT_EQ(report.bytes, bytes.size());
}

TEST(WorkbookWriter, TextsWithMarkupCharactersSurviveTheRoundTrip) {
    Building::Model model = Building::GenerateDemoBuilding();
    model.name = "Hall <A> & \"B\" 'C'";
    model.storeys[0].name = "Level <0> & ground";
    const std::string bytes = WorkbookBytes(model, {});
    const AnalysisApp::SheetTable modelSheet = Sheet(bytes, "Model");
    EXPECT_EQ(modelSheet.rows.at(0).ValueAt(1), model.name);
    EXPECT_EQ(Sheet(bytes, "StructuralStorey").rows.at(1).ValueAt(0), model.storeys[0].name);
}

std::vector<std::string> CheckerFindings(const std::string& bytes) {
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(bytes);
    std::vector<std::string> lines;
    for (const AnalysisApp::CheckFinding& finding : report.findings) {
        lines.push_back(AnalysisApp::FormatFinding("workbook", finding));
    }
    if (!report.readable) {
        lines.push_back("unreadable: " + report.problem);
    }
    return lines;
}

// Every selection of element kinds a translator can make, in both systems of units: the SAF checker
// finds nothing to say, not even a warning.
TEST(WorkbookWriter, EveryTranslatorsWorkbookChecksClean) {
    const Building::Model demo = Building::GenerateDemoBuilding();
    for (unsigned mask = 0; mask < 64; ++mask) {
        for (const SafWorkbook::UnitSystem system :
             {SafWorkbook::UnitSystem::Metric, SafWorkbook::UnitSystem::Imperial}) {
            SafWorkbook::ExportOptions options;
            options.kinds = {(mask & 1) != 0, (mask & 2) != 0,  (mask & 4) != 0,
                             (mask & 8) != 0, (mask & 16) != 0, (mask & 32) != 0};
            options.unitSystem = system;
            EXPECT_EQ(CheckerFindings(WorkbookBytes(demo, options)), std::vector<std::string>{})
                << "kinds " << mask << ", " << SafWorkbook::UnitSystemName(system);
        }
    }
}

TEST(WorkbookWriter, GeneratedModelsAndAwkwardTextsCheckClean) {
    Building::Model awkward = Building::GenerateDemoBuilding();
    awkward.name = "  Hall <A> & \"B\"  ";
    awkward.description.clear();
    awkward.crossSections.push_back({"Pipe1", "S235", "Parametric", "Pipe", {168.3, 8.0}, "", 0, ""});
    awkward.crossSections.push_back({"Round", "S235", "Parametric", "Circle", {300.0}, "", 0, ""});
    awkward.curveMembers[0].crossSection = "Round";
    awkward.curveMembers[1].crossSection = "Pipe1";
    awkward.supports[0].restraints = Building::RestraintsOf("Hinged");
    const Building::Model models[] = {awkward, Building::GenerateBuildingWithMembers(1),
                                      Building::GenerateBuildingWithMembers(2500),
                                      Building::GenerateFrameBuilding({1, 1, 1, 4.0, 4.0, 3.0})};
    for (const Building::Model& model : models) {
        for (const SafWorkbook::UnitSystem system :
             {SafWorkbook::UnitSystem::Metric, SafWorkbook::UnitSystem::Imperial}) {
            SafWorkbook::ExportOptions options;
            options.unitSystem = system;
            EXPECT_EQ(CheckerFindings(WorkbookBytes(model, options)), std::vector<std::string>{})
                << model.name << " with " << model.curveMembers.size() << " members";
        }
    }
}

TEST(WorkbookWriter, SurfacesAndSupportsCarryEveryRequiredCell) {
    SafWorkbook::ExportOptions options;
    options.unitSystem = SafWorkbook::UnitSystem::Imperial;
    const std::string bytes = WorkbookBytes(Building::GenerateDemoBuilding(), options);
    const AnalysisApp::SheetTable surfaces = Sheet(bytes, "StructuralSurfaceMember");
    EXPECT_EQ(surfaces.rows[0].ValueAt(12), "Coordinate X [ft]");
    for (const auto& [column, value] : std::vector<std::pair<std::size_t, std::string>>{
             {11, "X by vector"}, {12, "1"}, {13, "0"}, {14, "0"}, {15, "0"}, {17, "0"}}) {
        EXPECT_EQ(surfaces.rows[1].ValueAt(column), value) << "column " << column;
    }
    const AnalysisApp::SheetTable supports = Sheet(bytes, "StructuralPointSupport");
    ASSERT_EQ(supports.rows[0].cells.size(), 22u);
    EXPECT_EQ(supports.rows[0].ValueAt(15), "Stiffness X [kip/ft]");
    EXPECT_EQ(supports.rows[0].ValueAt(20), "Stiffness Fiz [kipft/deg]");
    EXPECT_EQ(supports.rows[0].ValueAt(21), "Id");
    const AnalysisApp::SheetTable materials = Sheet(bytes, "StructuralMaterial");
    EXPECT_EQ(materials.rows[0].ValueAt(8), "Thermal expansion [1/\xC2\xB0"
                                            "F]");
    EXPECT_NEAR(std::stod(std::string(materials.rows[1].ValueAt(8))), 1.2e-5 / 1.8, 1e-15);
}

TEST(WorkbookWriter, ModelAndProjectCarryDatesIdsAndAValidDiscipline) {
    SafWorkbook::ExportOptions options;
    options.exportedAt = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + std::chrono::hours{9} +
                         std::chrono::minutes{30};
    const std::string bytes = WorkbookBytes(Building::GenerateDemoBuilding(), options);
    const AnalysisApp::SheetTable model = Sheet(bytes, "Model");
    const auto value = [](const AnalysisApp::SheetTable& sheet, const std::string& key) {
        for (const AnalysisApp::SheetRow& row : sheet.rows) {
            if (row.ValueAt(0) == key) {
                return std::string(row.ValueAt(1));
            }
        }
        return std::string();
    };
    EXPECT_EQ(value(model, "Discipline"), "Load-bearing structure");
    EXPECT_EQ(value(model, "Created"), "46364"); // 2026-12-08 as a spreadsheet counts days
    EXPECT_EQ(value(model, "Last update"), "46364");
    EXPECT_EQ(value(model, "Id").size(), 36u);
    const AnalysisApp::SheetTable project = Sheet(bytes, "Project");
    EXPECT_NEAR(std::stod(value(project, "Created")), 46364.0 + 9.5 / 24.0, 1e-9);
    EXPECT_NE(value(project, "Id"), value(model, "Id"));
    EXPECT_EQ(WorkbookBytes(Building::GenerateDemoBuilding(), options), bytes)
        << "one model, one export time: the same bytes";
}

// Past the shared-strings table's capacity, repeating texts are written inline: every cell still
// reads back as written, and the workbook still checks clean.
TEST(WorkbookWriter, TextsBeyondTheSharedStringsCapacityAreWrittenInline) {
    Building::Model model = Building::GenerateBuildingWithMembers(6000);
    for (std::size_t index = 0; index < model.curveMembers.size(); ++index) {
        model.curveMembers[index].layer = "Layer " + std::to_string(index);
    }
    const std::string bytes = WorkbookBytes(model, {});
    const AnalysisApp::SheetTable members = Sheet(bytes, "StructuralCurveMember");
    ASSERT_EQ(members.rows.size(), model.curveMembers.size() + 1);
    for (const std::size_t index : {std::size_t{0}, std::size_t{4000}, std::size_t{5999}}) {
        EXPECT_EQ(members.rows[index + 1].ValueAt(23), model.curveMembers[index].layer);
        EXPECT_EQ(members.rows[index + 1].ValueAt(24), "Standard")
            << "a repeating text after the table is full";
    }
    EXPECT_EQ(CheckerFindings(bytes), std::vector<std::string>{});
}

TEST(XmlText, EscapesMarkupAndDropsWhatXmlCannotCarry) {
    EXPECT_EQ(SafWorkbook::EscapeXml("a<b>&\"c\"'d'"), "a&lt;b&gt;&amp;&quot;c&quot;&apos;d&apos;");
    EXPECT_EQ(SafWorkbook::EscapeXml(std::string("x\x01y\tz\n", 6)), "xy\tz\n");
    EXPECT_EQ(SafWorkbook::EscapeXml("\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9");
}

TEST(WorkbookParts, ColumnLettersRunPastZ) {
    EXPECT_EQ(SafWorkbook::ColumnLetters(0), "A");
    EXPECT_EQ(SafWorkbook::ColumnLetters(25), "Z");
    EXPECT_EQ(SafWorkbook::ColumnLetters(26), "AA");
    EXPECT_EQ(SafWorkbook::ColumnLetters(27), "AB");
    EXPECT_EQ(SafWorkbook::ColumnLetters(701), "ZZ");
    EXPECT_EQ(SafWorkbook::ColumnLetters(702), "AAA");
}

TEST_F(WorkbookFolder, AnEarlierWorkbookIsReplacedWholeAndNoTemporaryFileStays) {
    const std::filesystem::path target = folder / "ACToVELDEngineer.xlsx";
    {
        std::ofstream old(target, std::ios::binary);
        old << "an earlier export";
    }
    const SafWorkbook::WriteReport report =
        SafWorkbook::WriteSafWorkbook(Building::GenerateDemoBuilding(), {}, target);
    ASSERT_TRUE(report.written) << report.error;
    EXPECT_EQ(std::filesystem::file_size(target), report.bytes);
    EXPECT_TRUE(AnalysisApp::ReadSafWorkbook(ReadFile(target)).summary);
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(WorkbookFolder, AFailedWriteLeavesTheTargetAsItWas) {
    // A folder where the workbook should be: the rename over it fails after the whole temporary file
    // was written.
    const std::filesystem::path target = folder / "ACToVELDEngineer.xlsx";
    std::filesystem::create_directory(target);
    std::ofstream(target / "keep.txt") << "kept";
    const SafWorkbook::WriteReport report =
        SafWorkbook::WriteSafWorkbook(Building::GenerateDemoBuilding(), {}, target);
    EXPECT_FALSE(report.written);
    EXPECT_NE(report.error.find("cannot replace"), std::string::npos) << report.error;
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(ReadFile(target / "keep.txt"), "kept");
    EXPECT_EQ(FilesInFolder(), 1u) << "the temporary file must be gone";
}

TEST_F(WorkbookFolder, AMissingFolderIsReportedAndNothingIsCreated) {
    const std::filesystem::path target = folder / "missing" / "ACToVELDEngineer.xlsx";
    const SafWorkbook::WriteReport report =
        SafWorkbook::WriteSafWorkbook(Building::GenerateDemoBuilding(), {}, target);
    EXPECT_FALSE(report.written);
    EXPECT_NE(report.error.find("cannot create"), std::string::npos) << report.error;
    EXPECT_EQ(FilesInFolder(), 0u);
}

} // namespace
