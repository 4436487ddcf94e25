#include "Program/CheckCommand.hpp"
#include "SafRules/SafChecker.hpp"
#include "SafRules/WorkbookChecker.hpp"
#include "SafTableWorkbook.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

// Every rule of every table, reached through a workbook made from the tables: it checks clean, and
// each fault planted in it alone (a required column removed, a value outside an enumeration, text in
// a number column, a name that is nowhere, a name used twice) is found at its cell.
namespace {

using AnalysisApp::ColumnRule;
using AnalysisApp::SafTable;
using AnalysisApp::SheetRule;
using AnalysisApp::ValueKind;
using TinySafWorkbook::Workbook;

const SafTable& Table(const std::string& version) {
    bool usedInstead = false;
    const SafTable& table = AnalysisApp::TableOfVersion(version, usedInstead);
    EXPECT_FALSE(usedInstead) << version;
    return table;
}

std::vector<std::string> FindingsOf(const Workbook& workbook) {
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(workbook.Bytes(false));
    EXPECT_TRUE(report.readable) << report.problem;
    std::vector<std::string> lines;
    for (const AnalysisApp::CheckFinding& finding : report.findings) {
        lines.push_back(AnalysisApp::FormatFinding("w.xlsx", finding));
    }
    return lines;
}

TEST(SafTables, AWorkbookWithEverySheetOfEachVersionChecksCleanAndCountsWhatItRead) {
    for (const std::string& version : AnalysisApp::KnownSafVersions()) {
        const SafTable& table = Table(version);
        const AnalysisApp::CheckReport report =
            AnalysisApp::CheckSafWorkbookBytes(SafTableWorkbook::Make(table).Bytes());
        EXPECT_EQ(FindingsOf(SafTableWorkbook::Make(table)), std::vector<std::string>{}) << version;
        EXPECT_EQ(report.safTable, version);
        EXPECT_EQ(report.sheetsChecked, table.sheets.size()) << version;
        const auto objectSheets = std::count_if(table.sheets.begin(), table.sheets.end(),
                                                [](const SheetRule& sheet) { return !sheet.keyValue; });
        EXPECT_EQ(report.objectsChecked, static_cast<std::size_t>(objectSheets) * 4) << version;
    }
}

// The closing line says what "0 errors" covers, a sheet SAF does not define is named as unchecked, and
// the opening summary names every kind of object read in an engineer's words.
TEST(SafTables, TheCheckSaysWhatItReadAndTheSummaryNamesEveryKind) {
    Workbook workbook = SafTableWorkbook::Make(Table("2.2.0"), 25);
    workbook.AddSheet({"Notes", {{"Name", "Text"}, {"N1", "by hand"}}});
    const std::string name = "saf-table-workbook.xlsx";
    const std::filesystem::path file = std::filesystem::temp_directory_path() / name;
    std::ofstream(file, std::ios::binary) << workbook.Bytes(false);
    std::ostringstream text;
    std::ostringstream progress;
    EXPECT_EQ(AnalysisApp::RunCheckCommand({file.string()}, false, text, false, progress), 0);
    std::filesystem::remove(file);
    EXPECT_EQ(text.str(), file.string() + ": Notes: warning: not a SAF sheet; not checked\n" + file.string() +
                              ": checked 43 sheets, 1 025 objects: 0 errors, 1 warning\n");

    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(workbook.Bytes(false));
    ASSERT_TRUE(reading.summary) << reading.error;
    const std::string summary = AnalysisApp::DescribeSummary(*reading.summary);
    for (const char* kind : {"25 hinges", "25 load cases", "25 load combinations", "25 line loads",
                             "25 point loads", "25 surface loads", "25 openings", "25 ribs", ", 1 Notes"}) {
        EXPECT_NE(summary.find(kind), std::string::npos) << kind << " in " << summary;
    }
}

// "C2": where the generated workbook has the column of `header` in `sheet`, in `row`; for a key/value
// sheet the value cell of that row.
std::string CellOf(const SafTable& table, const std::string& sheet, const std::string& header,
                   std::size_t row) {
    const SheetRule* rule = table.Sheet(sheet);
    for (std::size_t column = 0; rule != nullptr && column < rule->columns.size(); ++column) {
        if (rule->columns[column].header == header) {
            return rule->keyValue ? AnalysisApp::CellName(1, column + 1) : AnalysisApp::CellName(column, row);
        }
    }
    ADD_FAILURE() << "no column " << header << " in " << sheet;
    return "A1";
}

struct ModelCase {
    const char* what;
    const char* version;
    std::function<void(Workbook&, const SafTable&)> change;
    std::vector<std::string> findings; // exactly these
};

std::ostream& operator<<(std::ostream& out, const ModelCase& model) {
    return out << model.what;
}

class ModelFaultsAndVersions : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelFaultsAndVersions, ShowExactlyTheirFindings) {
    const SafTable& table = Table(GetParam().version);
    Workbook workbook = SafTableWorkbook::Make(table, 2);
    GetParam().change(workbook, table);
    EXPECT_EQ(FindingsOf(workbook), GetParam().findings);
}

const std::string Combinations = "StructuralLoadCombination";

const ModelCase ModelCases[] = {
    // What no single column shows.
    {"a member that begins and ends at one node",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("StructuralCurveMember", CellOf(t, "StructuralCurveMember", "Nodes", 2), "O5-1;O5-1");
     },
     {"w.xlsx: StructuralCurveMember!E2: error: \"Nodes\" begins and ends at \"O5-1\": the curve has no "
      "length"}},
    {"an internal edge that begins and ends at one node",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("StructuralCurveEdge", CellOf(t, "StructuralCurveEdge", "Nodes", 3), "O5-2; O5-2");
     },
     {"w.xlsx: StructuralCurveEdge!C3: error: \"Nodes\" begins and ends at \"O5-2\": the curve has no "
      "length"}},
    {"nodes that do not fit the segments",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("StructuralCurveMemberRib", CellOf(t, "StructuralCurveMemberRib", "Segments", 2),
               "Line;Bezier");
     },
     {"w.xlsx: StructuralCurveMemberRib!D2: error: \"Nodes\" lists 2 nodes where its segments need 5"}},
    {"a surface of two distinct nodes",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("StructuralSurfaceMember", CellOf(t, "StructuralSurfaceMember", "Nodes", 2),
               "O5-1;O5-2;O5-1;O5-2");
     },
     {"w.xlsx: StructuralSurfaceMember!G2: error: \"Nodes\" names 2 distinct nodes; an area needs at least "
      "3"}},
    {"an opening of one node",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("StructuralSurfaceMemberOpening", CellOf(t, "StructuralSurfaceMemberOpening", "Nodes", 3),
               "O5-1");
     },
     {"w.xlsx: StructuralSurfaceMemberOpening!C3: error: \"Nodes\" names 1 distinct nodes; an area needs at "
      "least 3"}},
    {"a combination's factor without its load case",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set(Combinations, CellOf(t, Combinations, "Load case name", 2), "");
     },
     {"w.xlsx: StructuralLoadCombination!H2: error: \"Load case name 1\" is required but empty",
      "w.xlsx: StructuralLoadCombination!F2: error: \"Load factor 1\" is given, but no load case 1 is named: "
      "load cases and factors do not pair up",
      "w.xlsx: StructuralLoadCombination!G2: error: \"Multiplier 1\" is given, but no load case 1 is named: "
      "load cases and factors do not pair up"}},
    {"a combination's second load case without its factors",
     "2.2.0",
     [](Workbook& w, const SafTable&) {
         w.Set(Combinations, "J1", "Load case name 2").Set(Combinations, "J2", "O27-2");
         w.Set(Combinations, "K1", "Load factor 2")
             .Set(Combinations, "K3", TinySafWorkbook::Cell::Number("1.5"));
     },
     {"w.xlsx: StructuralLoadCombination!K2: error: \"Load factor 2\" is empty, but \"Load case name 2\" "
      "names "
      "\"O27-2\": load cases and factors do not pair up",
      "w.xlsx: StructuralLoadCombination!K3: error: \"Load factor 2\" is given, but no load case 2 is named: "
      "load cases and factors do not pair up"}},
    {"a combination by national standard needs no factors",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set(Combinations, CellOf(t, Combinations, "Category", 2), "According national standard")
             .Set(Combinations, CellOf(t, Combinations, "Load factor", 2), "");
     },
     {}},
    {"an edge beyond the edges of its surface",
     "2.2.0",
     [](Workbook& w, const SafTable& t) {
         w.Set("RelConnectsSurfaceEdge", CellOf(t, "RelConnectsSurfaceEdge", "Edge", 2),
               TinySafWorkbook::Cell::Number("5"));
     },
     {"w.xlsx: RelConnectsSurfaceEdge!C2: error: \"Edge\" \"5\" is not an edge of \"O10-1\", which has 4 "
      "edges"}},
    {"a load on a member of a sheet the workbook lacks",
     "2.2.0",
     [](Workbook& w, const SafTable&) { w.RemoveSheet("StructuralCurveMemberRib"); },
     {"w.xlsx: StructuralCurveConnection!D2: error: \"Member Rib\" names \"O9-1\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveConnection!D3: error: \"Member Rib\" names \"O9-2\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveAction!K2: error: \"Member Rib\" names \"O9-1\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveAction!K3: error: \"Member Rib\" names \"O9-2\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveMoment!I2: error: \"Member Rib\" names \"O9-1\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveMoment!I3: error: \"Member Rib\" names \"O9-2\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveActionThermal!J2: error: \"Member Rib\" names \"O9-1\", but the workbook has "
      "no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: StructuralCurveActionThermal!J3: error: \"Member Rib\" names \"O9-2\", but the workbook has "
      "no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: ResultInternalForce1D!C2: error: \"Member Rib\" names \"O9-1\", but the workbook has no "
      "StructuralCurveMemberRib sheet",
      "w.xlsx: ResultInternalForce1D!C3: error: \"Member Rib\" names \"O9-2\", but the workbook has no "
      "StructuralCurveMemberRib sheet"}},
    // Each version by its own table.
    // Clean as 1.0.5 (above); as 2.2.0 it lacks what 1.0.7, 2.0.0 and 2.2.0 added, and 2.0.0 respelt a
    // national standard.
    {"a 1.0.5 workbook read as 2.2.0 misses what came later",
     "1.0.5",
     [](Workbook& w, const SafTable& t) { w.Set("Model", CellOf(t, "Model", "SAF Version", 1), "2.2.0"); },
     {"w.xlsx: Model!A19: error: the required row \"National code\" is missing",
      "w.xlsx: StructuralCurveMember!V1: error: the required column \"Analysis Y Eccentricity of Beg Node\" "
      "is "
      "missing",
      "w.xlsx: StructuralCurveMember!V1: error: the required column \"Analysis Z Eccentricity of Beg Node\" "
      "is "
      "missing",
      "w.xlsx: StructuralCurveMember!V1: error: the required column \"Analysis Y Eccentricity of End Node\" "
      "is "
      "missing",
      "w.xlsx: StructuralCurveMember!V1: error: the required column \"Analysis Z Eccentricity of End Node\" "
      "is "
      "missing",
      "w.xlsx: StructuralSurfaceMember!T1: error: the required column \"Analysis Z Eccentricity\" is missing",
      "w.xlsx: StructuralPointSupport!Q1: error: the required column \"Boundary condition\" is missing",
      "w.xlsx: StructuralEdgeConnection!W1: error: the required column \"Boundary condition\" is missing",
      "w.xlsx: StructuralLoadCombination!D2: error: \"National standard\" \"EN-ULS(STR/GEO) Set B\" is not "
      "one of "
      "EN-ULS (STR/GEO) Set B, EN-ULS (STR/GEO) Set C, EN-Accidental 1, EN-Accidental 2, EN-Seismic, EN-SLS "
      "Characteristic, ... (13 values)",
      "w.xlsx: StructuralLoadCombination!D3: error: \"National standard\" \"EN-ULS(STR/GEO) Set B\" is not "
      "one of "
      "EN-ULS (STR/GEO) Set B, EN-ULS (STR/GEO) Set C, EN-Accidental 1, EN-Accidental 2, EN-Seismic, EN-SLS "
      "Characteristic, ... (13 values)",
      "w.xlsx: StructuralSurfaceAction!L1: error: the required column \"Force action\" is missing"}},
    {"a 2.0.0 member without its begin node",
     "2.0.0",
     [](Workbook& w, const SafTable&) { w.RemoveColumn("StructuralCurveMember", "Begin node"); },
     {"w.xlsx: StructuralCurveMember!AD1: error: the required column \"Begin node\" is missing"}},
    {"a 2.1.0 member without its begin node",
     "2.1.0",
     [](Workbook& w, const SafTable&) { w.RemoveColumn("StructuralCurveMember", "Begin node"); },
     {}},
    {"a version older than every table",
     "1.0.5",
     [](Workbook& w, const SafTable& t) { w.Set("Model", CellOf(t, "Model", "SAF Version", 1), "1.0.4"); },
     {"w.xlsx: Model!B12: warning: SAF Version 1.0.4 has no table here; checked as SAF 1.0.5"}},
};

INSTANTIATE_TEST_SUITE_P(SafTables, ModelFaultsAndVersions, testing::ValuesIn(ModelCases));

// One planted fault: the change, and the finding it must cause (among others it may cause).
struct Plant {
    std::string what;
    std::function<void(Workbook&)> change;
    std::string finding;
};

std::vector<Plant> PlantsOf(const SafTable& table) {
    std::vector<Plant> plants;
    for (const SheetRule& sheet : table.sheets) {
        const std::string at = "w.xlsx: " + sheet.name + "!";
        if (sheet.keyValue) {
            for (std::size_t row = 0; row < sheet.columns.size(); ++row) {
                const ColumnRule& rule = sheet.columns[row];
                const std::string value = AnalysisApp::CellName(1, row + 1);
                if (rule.need == AnalysisApp::Need::Required) {
                    plants.push_back({sheet.name + " row " + rule.header + " removed",
                                      [&sheet, row](Workbook& w) {
                                          w.Set(sheet.name, AnalysisApp::CellName(0, row + 1), "")
                                              .Set(sheet.name, AnalysisApp::CellName(1, row + 1), "");
                                      },
                                      ": error: the required row \"" + rule.header + "\" is missing"});
                }
                if (rule.kind == ValueKind::Choice) {
                    plants.push_back({sheet.name + " " + rule.header + " outside its enumeration",
                                      [&sheet, value](Workbook& w) { w.Set(sheet.name, value, "Nonesuch"); },
                                      at + value + ": error: \"" + rule.header + "\" " +
                                          (rule.list ? "item " : "") + "\"Nonesuch\" is not one of"});
                }
            }
            continue;
        }
        const std::size_t columns = sheet.columns.size();
        if (sheet.hasNameColumn) {
            plants.push_back({sheet.name + " name used twice",
                              [&sheet](Workbook& w) {
                                  w.Set(sheet.name, "A3", SafTableWorkbook::ObjectName(0, 0))
                                      .Set(sheet.name, "A2", SafTableWorkbook::ObjectName(0, 0));
                              },
                              at + "A3: error: the name \"O0-1\" is used by row 2 already"});
        }
        for (std::size_t column = 0; column < columns; ++column) {
            const ColumnRule& rule = sheet.columns[column];
            const std::string header = SafTableWorkbook::HeaderOf(rule);
            const std::string shown = rule.header + (rule.indexed ? " 1" : "");
            const std::string cell = AnalysisApp::CellName(column, 2);
            const auto set = [&sheet, cell](std::string value) {
                return [&sheet, cell, value](Workbook& w) { w.Set(sheet.name, cell, value); };
            };
            const std::string item = rule.list ? "item " : "";
            if (rule.need == AnalysisApp::Need::Required) {
                plants.push_back({sheet.name + " " + shown + " removed",
                                  [&sheet, header](Workbook& w) { w.RemoveColumn(sheet.name, header); },
                                  at + AnalysisApp::CellName(columns - 1, 1) +
                                      ": error: the required column \"" + shown + "\" is missing"});
            }
            if (rule.kind == ValueKind::Choice) {
                plants.push_back(
                    {sheet.name + " " + shown + " outside its enumeration", set("Nonesuch"),
                     at + cell + ": error: \"" + shown + "\" " + item + "\"Nonesuch\" is not one of"});
            }
            if (rule.kind == ValueKind::Number || rule.kind == ValueKind::Integer) {
                plants.push_back({sheet.name + " " + shown + " holding text", set("tall"),
                                  at + cell + ": error: \"" + shown + "\" " + item + "\"tall\" is not a " +
                                      (rule.kind == ValueKind::Number ? "number" : "whole number")});
            }
            if (!rule.targets.empty()) {
                plants.push_back(
                    {sheet.name + " " + shown + " naming nothing", set("Nowhere"),
                     at + cell + ": error: \"" + shown + "\" names \"Nowhere\", which is not in "});
            }
            if (!rule.edgeIndexOf.empty() && !rule.list) {
                plants.push_back({sheet.name + " " + shown + " beyond the edges", set("5"),
                                  at + cell + ": error: \"" + shown + "\" \"5\" is not an edge of "});
            }
        }
    }
    return plants;
}

class PlantedFaults : public testing::TestWithParam<std::string> {};

TEST_P(PlantedFaults, EachIsFoundAtItsCell) {
    const SafTable& table = Table(GetParam());
    const std::vector<Plant> plants = PlantsOf(table);
    // Every kind of fault is planted somewhere, and in numbers that cover the tables.
    EXPECT_GT(plants.size(), 600u);
    const Workbook clean = SafTableWorkbook::Make(table, 2);
    for (const Plant& plant : plants) {
        Workbook workbook = clean;
        plant.change(workbook);
        const std::vector<std::string> findings = FindingsOf(workbook);
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const std::string& line) {
            return line.find(plant.finding) != std::string::npos;
        });
        EXPECT_TRUE(found) << plant.what << "\n  wanted: " << plant.finding
                           << "\n  found: " << (findings.empty() ? std::string("nothing") : findings.front());
    }
}

// The older tables differ from 2.2.0 in a few sheets and columns only; their clean workbooks above
// show those differences are read.
INSTANTIATE_TEST_SUITE_P(SafTables, PlantedFaults, testing::Values("2.2.0"));

} // namespace
