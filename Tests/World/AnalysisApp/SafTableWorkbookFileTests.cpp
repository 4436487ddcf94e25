#include "Program/CheckCommand.hpp"
#include "SafRules/SafChecker.hpp"
#include "SafTableWorkbookFile.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// The table-made workbook streamed to a file, as the benchmarks make theirs by the million: the same
// cells as the one made in memory, referring to each other so that it checks clean at any size.
namespace {

const AnalysisApp::SafTable& Table220() {
    bool usedInstead = false;
    return AnalysisApp::TableOfVersion("2.2.0", usedInstead);
}

// Every cell of every sheet as "sheet!column,row=value", in the workbook's order.
std::vector<std::string> CellsOf(const AnalysisApp::SpreadsheetPackage& package) {
    std::vector<std::string> cells;
    for (const std::string& sheet : package.SheetNames()) {
        AnalysisApp::SheetRowReader reader(package, sheet);
        AnalysisApp::SheetRow row;
        while (reader.Next(row)) {
            for (const AnalysisApp::SheetCell& cell : row.cells) {
                cells.push_back(sheet + "!" + std::to_string(cell.column) + "," + std::to_string(row.number) +
                                "=" + std::string(cell.Value()) + (cell.text ? "" : " (number)"));
            }
        }
        EXPECT_EQ(reader.Error(), "") << sheet;
    }
    return cells;
}

class StreamedWorkbook : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(file); }
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "saf-table-workbook-file.xlsx";
};

// Rows cross many of the writer's pieces (a member row is about a kilobyte): none is lost, cut or
// repeated at a piece's end.
TEST_F(StreamedWorkbook, HoldsTheCellsOfTheWorkbookMadeInMemory) {
    for (const auto& counts :
         {SafTableWorkbook::LoadedAndHingedMembers(300), SafTableWorkbook::EverySheet(Table220(), 7)}) {
        ASSERT_EQ(SafTableWorkbook::WriteFile(Table220(), counts, file), "");
        AnalysisApp::SpreadsheetPackage streamed;
        ASSERT_EQ(streamed.OpenFile(file), "");
        const std::string bytes = SafTableWorkbook::Make(Table220(), counts).Bytes();
        AnalysisApp::SpreadsheetPackage inMemory; // reads `bytes` where they are
        ASSERT_EQ(inMemory.Open(bytes), "");
        const std::vector<std::string> cells = CellsOf(streamed);
        EXPECT_GT(cells.size(), counts.size() * 7);
        EXPECT_EQ(cells, CellsOf(inMemory));
    }
}

// Every member loaded and hinged, on nodes in a chain: clean, and every object counted by its kind.
TEST_F(StreamedWorkbook, LoadedAndHingedMembersCheckCleanAndCountAsAsked) {
    ASSERT_EQ(SafTableWorkbook::WriteFile(Table220(), SafTableWorkbook::LoadedAndHingedMembers(1000), file),
              "");
    std::ostringstream text;
    std::ostringstream progress;
    EXPECT_EQ(AnalysisApp::RunCheckCommand({file.string()}, false, text, false, progress), 0);
    EXPECT_EQ(text.str(), file.string() + ": checked 11 sheets, 4 035 objects: 0 errors, 0 warnings\n");

    AnalysisApp::SpreadsheetPackage package;
    ASSERT_EQ(package.OpenFile(file), "");
    const auto [reading, check] = AnalysisApp::SummariseAndCheck(package);
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->members, 1000u);
    EXPECT_EQ(reading.summary->nodes, 1001u);
    const std::vector<std::pair<std::string, std::size_t>> expected = {{"StructuralMaterial", 4},
                                                                       {"StructuralCrossSection", 8},
                                                                       {"StructuralPointConnection", 1001},
                                                                       {"StructuralCurveMember", 1000},
                                                                       {"RelConnectsStructuralMember", 1000},
                                                                       {"StructuralLoadGroup", 4},
                                                                       {"StructuralLoadCase", 12},
                                                                       {"StructuralLoadCombination", 6},
                                                                       {"StructuralCurveAction", 1000}};
    EXPECT_EQ(reading.summary->objects, expected);
}

TEST_F(StreamedWorkbook, AFileThatCannotBeWrittenIsNamed) {
    const std::filesystem::path nowhere = file.parent_path() / "no-such-folder" / "w.xlsx";
    EXPECT_EQ(SafTableWorkbook::WriteFile(Table220(), SafTableWorkbook::LoadedAndHingedMembers(3), nowhere),
              "cannot write " + nowhere.string());
}

} // namespace
