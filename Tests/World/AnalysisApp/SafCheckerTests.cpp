#include "ForeignWorkbooks.hpp"
#include "SafRules/SafChecker.hpp"
#include "TinySafWorkbook.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using TinySafWorkbook::Cell;
using TinySafWorkbook::Workbook;

std::vector<std::string> FindingsOf(const Workbook& workbook) {
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(workbook.Bytes());
    EXPECT_TRUE(report.readable) << report.problem;
    std::vector<std::string> lines;
    for (const AnalysisApp::CheckFinding& finding : report.findings) {
        lines.push_back(AnalysisApp::FormatFinding("w.xlsx", finding));
    }
    return lines;
}

TEST(SafChecker, ThePortalFrameEveryRuleStartsFromChecksClean) {
    EXPECT_EQ(FindingsOf(Workbook::PortalFrame()), std::vector<std::string>{});
}

// One rule per row: the change to the clean portal frame, and exactly the findings it must cause.
struct RuleCase {
    const char* rule;
    std::function<void(Workbook&)> change;
    std::vector<std::string> findings;
};

std::ostream& operator<<(std::ostream& out, const RuleCase& rule) {
    return out << rule.rule;
}

class CheckerRule : public testing::TestWithParam<RuleCase> {};

TEST_P(CheckerRule, ShowsExactlyItsFinding) {
    Workbook workbook = Workbook::PortalFrame();
    GetParam().change(workbook);
    EXPECT_EQ(FindingsOf(workbook), GetParam().findings);
}

const RuleCase RuleCases[] = {
    // Required sheets, rows, columns and cells.
    {"no Model sheet",
     [](Workbook& w) { w.RemoveSheet("Model"); },
     {"w.xlsx: error: the workbook has no Model sheet"}},
    {"a required Model row missing",
     [](Workbook& w) { w.Set("Model", "A6", "Remark"); },
     {"w.xlsx: Model!A9: error: the required row \"National code\" is missing"}},
    {"a required Model value empty",
     [](Workbook& w) { w.Set("Model", "B4", ""); },
     {"w.xlsx: Model!B4: error: \"LCS of cross-section\" is required but empty"}},
    {"a required column missing",
     [](Workbook& w) { w.RemoveColumn("StructuralMaterial", "Quality"); },
     {"w.xlsx: StructuralMaterial!F1: error: the required column \"Quality\" is missing"}},
    {"a required cell empty",
     [](Workbook& w) { w.Set("StructuralCurveMember", "E2", ""); },
     {"w.xlsx: StructuralCurveMember!E2: error: \"LCS\" is required but empty"}},
    {"a row without a name",
     [](Workbook& w) { w.Set("StructuralStorey", "A3", ""); },
     {"w.xlsx: StructuralStorey!A3: error: \"Name\" is required but empty"}},
    {"a cell required by the cross-section type",
     [](Workbook& w) { w.Set("StructuralCrossSection", "G2", ""); },
     {"w.xlsx: StructuralCrossSection!G2: error: \"Form code\" is required when Cross-section type is "
      "Manufactured but empty"}},
    {"a cell required by the boundary condition",
     [](Workbook& w) { w.Set("StructuralPointSupport", "G3", ""); },
     {"w.xlsx: StructuralPointSupport!G3: error: \"Origin\" is required when Boundary condition is On beam "
      "but "
      "empty"}},
    {"a stiffness required by a flexible restraint",
     [](Workbook& w) { w.Set("StructuralPointSupport", "M3", "Non linear"); },
     {"w.xlsx: StructuralPointSupport!A3: error: \"Stiffness Fix\" is required when fix is Flexible or Non "
      "linear, but the sheet has no such column"}},
    {"a conditional cell not needed", [](Workbook& w) { w.Set("StructuralPointSupport", "D3", ""); }, {}},
    // Enumerations: compared without regard to case, and lists item by item.
    {"an enumeration value",
     [](Workbook& w) { w.Set("StructuralMaterial", "B2", "Stone"); },
     {"w.xlsx: StructuralMaterial!B2: error: \"Type\" \"Stone\" is not one of Concrete, Steel, Timber, "
      "Aluminium, "
      "Masonry or Other"}},
    {"an enumeration in another case", [](Workbook& w) { w.Set("StructuralMaterial", "B2", "STEEL"); }, {}},
    {"an item of an enumerated list",
     [](Workbook& w) { w.Set("StructuralCurveMember", "D2", "Line;Arc"); },
     {"w.xlsx: StructuralCurveMember!D2: error: \"Segments\" item \"Arc\" is not one of Line, Circular Arc, "
      "Parabolic Arc, Bezier or Spline-n"}},
    {"nodes that do not fit the segments",
     [](Workbook& w) { w.Set("StructuralCurveMember", "D2", "Line;Bezier"); },
     {"w.xlsx: StructuralCurveMember!C2: error: \"Nodes\" lists 2 nodes where its segments need 5"}},
    {"a spline of n nodes", [](Workbook& w) { w.Set("StructuralCurveMember", "D2", "Spline-2"); }, {}},
    {"a Model enumeration",
     [](Workbook& w) { w.Set("Model", "B3", "Z up"); },
     {"w.xlsx: Model!B3: error: \"Global coordinate system\" \"Z up\" is not one of X vertical, Y vertical, "
      "Z "
      "vertical, minus X vertical, minus Y vertical or minus Z vertical"}},
    {"a national code with its annex",
     [](Workbook& w) { w.Set("Model", "B6", "EC-DIN-EN (German NA)"); },
     {}},
    {"an unknown national code",
     [](Workbook& w) { w.Set("Model", "B6", "DIN 1045"); },
     {"w.xlsx: Model!B6: error: \"National code\" \"DIN 1045\" is not one of EC-Standard-EN, EC-ONORM-EN "
      "(Austrian NA), EC-TKP-EN (Belarusian NA), EC-NBN-EN (Belgian NA), EC-BAS-EN (Bosnian and "
      "Herzegovinian NA), EC-BS-EN (British NA), ... (41 values)"}},
    {"a shape of no cross-section",
     [](Workbook& w) { w.Set("StructuralCrossSection", "D3", "HEA"); },
     {"w.xlsx: StructuralCrossSection!D3: error: \"Shape\" \"HEA\" is not one of Circle, Rectangle, Double "
      "rectangle, Triple rectangle, Rectangle with plates, Double rectangle with plates, ... (42 values)"}},
    // Numbers where numbers belong.
    {"text in a number column",
     [](Workbook& w) { w.Set("StructuralPointConnection", "B3", "east"); },
     {"w.xlsx: StructuralPointConnection!B3: error: \"Coordinate X\" \"east\" is not a number"}},
    {"a decimal comma",
     [](Workbook& w) { w.Set("StructuralPointConnection", "D3", "4,5"); },
     {"w.xlsx: StructuralPointConnection!D3: error: \"Coordinate Z\" \"4,5\" is not a number (the decimal "
      "separator is a dot)"}},
    {"a number stored as text",
     [](Workbook& w) { w.Set("StructuralStorey", "B3", "4"); },
     {"w.xlsx: StructuralStorey!B3: warning: \"Height level\" \"4\" is a number stored as text"}},
    {"a number stored as text where text is allowed",
     [](Workbook& w) { w.Set("StructuralSurfaceMember", "D2", "250"); },
     {}},
    {"a list of parameters with a word",
     [](Workbook& w) { w.Set("StructuralCrossSection", "E3", "400;wide"); },
     {"w.xlsx: StructuralCrossSection!E3: error: \"Parameters\" item \"wide\" is not a number"}},
    {"a form code that is no whole number",
     [](Workbook& w) { w.Set("StructuralCrossSection", "G2", Cell::Number("2.5")); },
     {"w.xlsx: StructuralCrossSection!G2: error: \"Form code\" \"2.5\" is not a whole number"}},
    // Units consistent with the Model's system of units.
    {"an imperial unit in a metric workbook",
     [](Workbook& w) { w.Set("StructuralPointConnection", "C1", "Coordinate Y [ft]"); },
     {"w.xlsx: StructuralPointConnection!C1: error: the header's unit [ft] is not the unit of the Model's "
      "system "
      "of units (Metric: [m])"}},
    {"metric units in an imperial workbook",
     [](Workbook& w) { w.Set("Model", "B5", "Imperial"); },
     {"w.xlsx: StructuralMaterial!D1: error: the header's unit [kg/m3] is not the unit of the Model's system "
      "of "
      "units (Imperial: [lb/ft3])",
      "w.xlsx: StructuralMaterial!E1: error: the header's unit [MPa] is not the unit of the Model's system "
      "of units "
      "(Imperial: [ksi])",
      "w.xlsx: StructuralCrossSection!E1: error: the header's unit [mm] is not the unit of the Model's "
      "system of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralPointConnection!B1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralPointConnection!C1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralPointConnection!D1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralCurveMember!G1: error: the header's unit [m] is not the unit of the Model's system "
      "of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralCurveMember!H1: error: the header's unit [m] is not the unit of the Model's system "
      "of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralCurveMember!I1: error: the header's unit [m] is not the unit of the Model's system "
      "of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralCurveMember!K1: error: the header's unit [mm] is not the unit of the Model's system "
      "of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralCurveMember!L1: error: the header's unit [mm] is not the unit of the Model's system "
      "of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralCurveMember!M1: error: the header's unit [mm] is not the unit of the Model's system "
      "of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralCurveMember!N1: error: the header's unit [mm] is not the unit of the Model's system "
      "of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralSurfaceMember!D1: error: the header's unit [mm] is not the unit of the Model's "
      "system of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralSurfaceMember!I1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralSurfaceMember!J1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralSurfaceMember!K1: error: the header's unit [m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralSurfaceMember!M1: error: the header's unit [mm] is not the unit of the Model's "
      "system of "
      "units (Imperial: [in])",
      "w.xlsx: StructuralPointSupport!I1: error: the header's unit [m] is not the unit of the Model's system "
      "of "
      "units (Imperial: [ft])",
      "w.xlsx: StructuralPointSupport!P1: error: the header's unit [MN/m] is not the unit of the Model's "
      "system of "
      "units (Imperial: [kip/ft])",
      "w.xlsx: StructuralStorey!B1: error: the header's unit [m] is not the unit of the Model's system of "
      "units "
      "(Imperial: [ft])"}},
    {"a unit of neither system",
     [](Workbook& w) { w.Set("StructuralStorey", "B1", "Height level [cm]"); },
     {"w.xlsx: StructuralStorey!B1: warning: the header's unit [cm] is not [m]"}},
    {"a header without its unit", [](Workbook& w) { w.Set("StructuralStorey", "B1", "Height level"); }, {}},
    // References by name.
    {"a member's node that does not exist",
     [](Workbook& w) { w.Set("StructuralCurveMember", "C3", "N2;N9"); },
     {"w.xlsx: StructuralCurveMember!C3: error: \"Nodes\" names \"N9\", which is not in "
      "StructuralPointConnection"}},
    {"a member's cross-section that does not exist",
     [](Workbook& w) { w.Set("StructuralCurveMember", "B2", "CS7"); },
     {"w.xlsx: StructuralCurveMember!B2: error: \"Cross section\" names \"CS7\", which is not in "
      "StructuralCrossSection"}},
    {"a cross-section's material that does not exist",
     [](Workbook& w) { w.Set("StructuralCrossSection", "B3", "S355"); },
     {"w.xlsx: StructuralCrossSection!B3: error: \"Material\" names \"S355\", which is not in "
      "StructuralMaterial"}},
    {"a support's node that does not exist",
     [](Workbook& w) { w.Set("StructuralPointSupport", "D2", "N0"); },
     {"w.xlsx: StructuralPointSupport!D2: error: \"Node\" names \"N0\", which is not in "
      "StructuralPointConnection"}},
    {"a support's member that does not exist",
     [](Workbook& w) { w.Set("StructuralPointSupport", "E3", "B9"); },
     {"w.xlsx: StructuralPointSupport!E3: error: \"Member\" names \"B9\", which is not in "
      "StructuralCurveMember"}},
    // Members are read after the supports here: the reference waits for them, its finding does not.
    {"a support's member in a sheet further on",
     [](Workbook& w) {
         w.MoveToEnd("StructuralCurveMember").Set("StructuralPointSupport", "E3", "B9");
         w.Set("StructuralStorey", "B3", "high");
     },
     {"w.xlsx: StructuralPointSupport!E3: error: \"Member\" names \"B9\", which is not in "
      "StructuralCurveMember",
      "w.xlsx: StructuralStorey!B3: error: \"Height level\" \"high\" is not a number"}},
    {"a support's member found further on", [](Workbook& w) { w.MoveToEnd("StructuralCurveMember"); }, {}},
    {"a reference to a sheet that is not there",
     [](Workbook& w) { w.RemoveSheet("StructuralMaterial"); },
     {"w.xlsx: StructuralCrossSection!B2: error: \"Material\" names \"S235\", but the workbook has no "
      "StructuralMaterial sheet",
      "w.xlsx: StructuralCrossSection!B3: error: \"Material\" names \"S235\", but the workbook has no "
      "StructuralMaterial sheet",
      "w.xlsx: StructuralSurfaceMember!B2: error: \"Material\" names \"S235\", but the workbook has no "
      "StructuralMaterial sheet"}},
    // Unique names and Ids.
    {"a name used twice",
     [](Workbook& w) {
         w.Set("StructuralPointConnection", "A6", "N1");
         for (const char* cell : {"B6", "C6", "D6"}) {
             w.Set("StructuralPointConnection", cell, Cell::Number("9"));
         }
     },
     {"w.xlsx: StructuralPointConnection!A6: error: the name \"N1\" is used by row 2 already"}},
    {"an Id used twice",
     [](Workbook& w) { w.Set("StructuralMaterial", "F2", "0C3E3C56-1111-4A4B-8C8D-000000000001"); },
     {"w.xlsx: StructuralMaterial!F2: error: Id \"0C3E3C56-1111-4A4B-8C8D-000000000001\" is used already by "
      "Model "
      "row 8"}},
    {"an Id that is no GUID",
     [](Workbook& w) { w.Set("StructuralMaterial", "F2", "steel-1"); },
     {"w.xlsx: StructuralMaterial!F2: warning: Id \"steel-1\" is not a GUID"}},
    // Versions and the leniency SAF allows.
    {"a version with a V",
     [](Workbook& w) { w.Set("Model", "B2", "V2.2.0"); },
     {"w.xlsx: Model!B2: warning: SAF Version \"V2.2.0\" is written with a \"V\", which SAF dropped in "
      "1.0.8"}},
    {"a version that is none",
     [](Workbook& w) { w.Set("Model", "B2", "latest"); },
     {"w.xlsx: Model!B2: error: SAF Version \"latest\" is not a version number"}},
    {"a version the checker does not know",
     [](Workbook& w) { w.Set("Model", "B2", "2.3.0"); },
     {"w.xlsx: Model!B2: warning: SAF Version 2.3.0 has no table here; checked as SAF 2.2.0"}},
    {"a 2.2.0 surface without its LCS columns",
     [](Workbook& w) {
         for (const char* header : {"LCS Type", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]",
                                    "LCS Rotation [deg]"}) {
             w.RemoveColumn("StructuralSurfaceMember", header);
         }
     },
     {"w.xlsx: StructuralSurfaceMember!J1: error: the required column \"LCS Type\" is missing",
      "w.xlsx: StructuralSurfaceMember!J1: error: the required column \"Coordinate X\" is missing",
      "w.xlsx: StructuralSurfaceMember!J1: error: the required column \"Coordinate Y\" is missing",
      "w.xlsx: StructuralSurfaceMember!J1: error: the required column \"Coordinate Z\" is missing",
      "w.xlsx: StructuralSurfaceMember!J1: error: the required column \"LCS Rotation\" is missing"}},
    {"a 2.1.0 workbook without 2.2.0's columns",
     [](Workbook& w) {
         w.Set("Model", "B2", "2.1.0");
         w.RemoveSheet("StructuralPointSupport");
         w.AddSheet({"StructuralPointSupport",
                     {{"Name", "Node", "ux", "uy", "uz", "fix", "fiy", "fiz"},
                      {"Sn1", "N1", "Rigid", "Rigid", "Rigid", "Free", "Free", "Free"}}});
         w.RemoveColumn("StructuralCurveMember", "Color");
         w.Set("StructuralCurveMember", "P1", "Begin node").Set("StructuralCurveMember", "P2", "N1");
     },
     {}},
    // Sn2 was on a beam; 2.1.0 has no boundary condition: every support is in a node, and Sn2 has none.
    {"a 2.1.0 support without boundary condition or node",
     [](Workbook& w) {
         w.Set("Model", "B2", "2.1.0");
         w.RemoveColumn("StructuralPointSupport", "Boundary condition");
     },
     {"w.xlsx: StructuralPointSupport!C3: error: \"Node\" is required but empty"}},
    {"headers in any case and punctuation, lists with \"; \"",
     [](Workbook& w) {
         w.Set("StructuralPointConnection", "A1", " name ")
             .Set("StructuralPointConnection", "B1", "COORDINATE-X [M]");
         w.Set("StructuralCrossSection", "C1", "Cross-section type");
         w.Set("StructuralSurfaceMember", "F2", "N1; N2; N3; N4");
     },
     {}},
    {"unknown sheets and columns",
     [](Workbook& w) {
         w.AddSheet({"Notes", {{"Name", "Text"}, {"N1", "whatever"}}});
         w.Set("StructuralStorey", "C1", "Comment").Set("StructuralStorey", "C2", "x");
     },
     {"w.xlsx: Notes: warning: not a SAF sheet; not checked"}},
    {"a column twice",
     [](Workbook& w) { w.Set("StructuralStorey", "C1", "name").Set("StructuralStorey", "C2", "Z"); },
     {"w.xlsx: StructuralStorey!C1: warning: column \"name\" appears twice; the first one is read"}},
    {"a colour that is not ARGB",
     [](Workbook& w) { w.Set("StructuralCurveMember", "P2", "red"); },
     {"w.xlsx: StructuralCurveMember!P2: warning: \"Color\" \"red\" is not #AARRGGBB"}},
    {"a date that is none",
     [](Workbook& w) { w.Set("Model", "B7", "last Monday"); },
     {"w.xlsx: Model!B7: warning: \"Created\" \"last Monday\" is not a date"}},
    {"a date as text", [](Workbook& w) { w.Set("Model", "B7", "2026-12-08"); }, {}},
};

INSTANTIATE_TEST_SUITE_P(SafChecker, CheckerRule, testing::ValuesIn(RuleCases));

// VeldEngineer.exe takes its summary from the check's passes: it must be the summary of the reader.
TEST(SafChecker, TheSummaryAlongTheCheckIsTheReadersSummary) {
    Workbook noVersion = Workbook::PortalFrame();
    noVersion.Set("Model", "B2", "");
    Workbook noModel = Workbook::PortalFrame();
    noModel.RemoveSheet("Model");
    const std::string workbooks[] = {Workbook::PortalFrame().Bytes(), noVersion.Bytes(), noModel.Bytes(),
                                     ForeignWorkbooks::Package(ForeignWorkbooks::SpreadsheetProgramParts())};
    for (const std::string& bytes : workbooks) {
        AnalysisApp::SpreadsheetPackage package;
        ASSERT_EQ(package.Open(bytes), "");
        const AnalysisApp::SafReading alone = AnalysisApp::ReadSafWorkbook(bytes);
        const AnalysisApp::SummaryAndCheck both = AnalysisApp::SummariseAndCheck(package);
        EXPECT_EQ(both.reading.error, alone.error);
        ASSERT_EQ(both.reading.summary.has_value(), alone.summary.has_value());
        if (alone.summary) {
            EXPECT_EQ(AnalysisApp::DescribeSummary(*both.reading.summary),
                      AnalysisApp::DescribeSummary(*alone.summary));
            EXPECT_EQ(both.reading.summary->objects, alone.summary->objects);
            EXPECT_EQ(both.reading.summary->unitSystem, alone.summary->unitSystem);
        }
    }
}

TEST(SafChecker, ANonWorkbookIsUnreadableAndFindingsComeInWorkbookOrder) {
    const AnalysisApp::CheckReport junk = AnalysisApp::CheckSafWorkbookBytes("not a zip at all");
    EXPECT_FALSE(junk.readable);
    EXPECT_EQ(AnalysisApp::ExitCodeOf(junk), 2);

    Workbook workbook = Workbook::PortalFrame();
    workbook.Set("StructuralStorey", "B2", "low")
        .Set("StructuralMaterial", "B2", "Stone")
        .Set("Model", "B7", "soon");
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(workbook.Bytes());
    ASSERT_EQ(report.findings.size(), 3u);
    EXPECT_EQ(report.findings[0].sheet, "Model");
    EXPECT_EQ(report.findings[1].sheet, "StructuralMaterial");
    EXPECT_EQ(report.findings[2].sheet, "StructuralStorey");
    EXPECT_EQ(report.errors, 2u);
    EXPECT_EQ(report.warnings, 1u);
    EXPECT_EQ(AnalysisApp::ExitCodeOf(report), 1);
}

} // namespace
