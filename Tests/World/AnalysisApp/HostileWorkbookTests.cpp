#include "ForeignWorkbooks.hpp"
#include "Program/CheckCommand.hpp"
#include "SafRules/CheckFinding.hpp"
#include "SafRules/CheckReportJson.hpp"
#include "SafRules/SafChecker.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"
#include "TinySafWorkbook.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// Workbooks made to mislead the reader: each is refused as unreadable (exit 2) with the part and
// what is wrong in it, or has what cannot be read reported as a finding, and is not read as though it
// were whole.
namespace {

using ForeignWorkbooks::Parts;

const std::string Nodes = "book/sheets/a.xml";

void Replace(Parts& parts, const std::string& part, const std::string& what, const std::string& with) {
    std::string& text = parts.at(part);
    const std::size_t found = text.find(what);
    ASSERT_NE(found, std::string::npos) << what;
    text.replace(found, what.size(), with);
}

TEST(HostileWorkbook, APartThatIsNotWellFormedMakesTheWorkbookUnreadableNamingPartAndPlace) {
    const std::string sheet = "sheet StructuralPointConnection (book/sheets/a.xml): ";
    const struct {
        const char* label;
        std::function<void(Parts&)> change;
        std::string problem;
    } cases[] = {
        {"</sheetData> removed", [](Parts& parts) { Replace(parts, Nodes, "</sheetData>", ""); },
         sheet + "end tag </worksheet> where </sheetData> belongs at byte 558"},
        {"</sheetData> misspelt", [](Parts& parts) { Replace(parts, Nodes, "</sheetData>", "</sheetDat>"); },
         sheet + "end tag </sheetDat> where </sheetData> belongs at byte 558"},
        {"<<<&& in a row", [](Parts& parts) { Replace(parts, Nodes, "<row r=\"3\">", "<row r=\"3\"><<<&&"); },
         sheet + "an element name that is no XML name at byte 213"},
        {"text after the root", [](Parts& parts) { parts.at(Nodes) += "tail"; },
         sheet + "text after the root element at byte 582"},
        {"a bad character reference", [](Parts& parts) { Replace(parts, Nodes, "no name", "no &#1;name"); },
         sheet + "bad entity reference at byte 451"},
        {"a DTD with entities",
         [](Parts& parts) {
             parts.at(Nodes).insert(0, "<!DOCTYPE w [<!ENTITY e \"x\">]>");
             Replace(parts, Nodes, "no name", "&e;");
         },
         sheet + "a document type declaration (DTD), which is not allowed at byte 0"},
        {"a part that inflates 1000 times",
         [](Parts& parts) { parts.at(Nodes) += std::string(std::size_t{8} << 20, ' '); },
         sheet + "the document cannot be read: book/sheets/a.xml would inflate to 8389190 bytes from 8425, "
                 "more than "
                 "any workbook part (at most 4 GiB, 256 times) at byte 0"},
        {"two sheets with one part",
         [](Parts& parts) {
             Replace(parts, "book/_rels/workbook.xml.rels", "sheets/notes.xml", "sheets/a.xml");
         },
         "book/workbook.xml: sheets Notes and StructuralPointConnection name the same part "
         "book/sheets/a.xml"},
        {"two shared-strings parts",
         [](Parts& parts) {
             parts["book/strings2.xml"] = parts.at("book/strings.xml");
             Replace(parts, "book/_rels/workbook.xml.rels", "</Relationships>",
                     "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                     "relationships/sharedStrings\" Target=\"strings2.xml\"/></Relationships>");
         },
         "book/_rels/workbook.xml.rels: more than one shared-strings part (book/strings.xml, "
         "book/strings2.xml)"},
    };
    for (const auto& [label, change, problem] : cases) {
        Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
        change(parts);
        const AnalysisApp::CheckReport report =
            AnalysisApp::CheckSafWorkbookBytes(ForeignWorkbooks::Package(parts));
        EXPECT_EQ(AnalysisApp::ExitCodeOf(report), 2) << label;
        EXPECT_EQ(report.problem, problem) << label;
    }
}

// The findings on the node sheet as "CELL: message", in the order given.
std::vector<std::string> NodeFindings(const AnalysisApp::CheckReport& report) {
    std::vector<std::string> found;
    for (const AnalysisApp::CheckFinding& finding : report.findings) {
        if (finding.sheet == "StructuralPointConnection") {
            found.push_back(finding.cell + ": " + finding.message);
        }
    }
    return found;
}

// A row or a cell that cannot be placed (beyond row 1048576 or column XFD, a row number that goes
// backwards, a cell of another row) is skipped and reported as an error on its sheet, quoting the
// reference as written; it is never wrapped onto another place, and the rows and cells around it are
// still read and checked. The node sheet's rows 4 to 7 are N1 (0), 17 (6.5), no name, a blank name.
TEST(HostileWorkbook, RowsAndCellsThatCannotBePlacedAreSkippedAsFindings) {
    const std::string noName6 = "A6: \"Name\" is required but empty";
    const std::string noName7 = "A7: \"Name\" is required but empty";
    const std::string noX7 = "B7: \"Coordinate X\" is required but empty";
    const std::string noX4 = "B4: \"Coordinate X\" is required but empty";
    const std::string rowSkipped = "; its cells were not read";
    const std::string notANumber = " is not a row number (rows are numbered 1 to 1048576)" + rowSkipped;
    const struct {
        const char* label;
        std::vector<std::pair<std::string, std::string>> changes; // in the node sheet: what, with what
        std::vector<std::string> findings;                        // on the node sheet, below the header's
        std::size_t nodes;                                        // counted by the summary
    } cases[] = {
        {"a cell at XFD1048577",
         {{"<row r=\"7\"><c r=\"A7\"", "<row r=\"1048577\"><c r=\"XFD1048577\""}},
         {noName6, ": row \"1048577\" lies beyond row 1048576, the last row" + rowSkipped},
         2},
        {"a row without a number after row 1048576",
         {{"<row r=\"6\"><c r=\"B6\"", "<row r=\"1048576\"><c r=\"B1048576\""},
          {"<c r=\"C6\"", "<c r=\"C1048576\""},
          {"<row r=\"7\"><c r=\"A7\"", "<row><c"}},
         {"A1048576: \"Name\" is required but empty",
          ": the row after row 1048576 lies beyond the last row" + rowSkipped},
         2},
        {"a cell at XFE4, beyond column XFD",
         {{"r=\"B4\"", "r=\"XFE4\""}},
         {": cell \"XFE4\" lies beyond column XFD, the last column; not read", noX4, noName6, noName7, noX7},
         2},
        {"a cell without a reference after XFD5",
         {{"<c r=\"A5\"><v>17</v></c><c r=\"B5\">", "<c r=\"XFD5\"><v>17</v></c><c>"}},
         {": the cell after XFD5 lies beyond column XFD, the last column; not read",
          "A5: \"Name\" is required but empty", "B5: \"Coordinate X\" is required but empty", noName6,
          noName7, noX7},
         1},
        {"row 0",
         {{"<row r=\"5\"", "<row r=\"0\""}},
         {": row \"0\"" + notANumber, noName6, noName7, noX7},
         1},
        {"row -5",
         {{"<row r=\"5\"", "<row r=\"-5\""}},
         {": row \"-5\"" + notANumber, noName6, noName7, noX7},
         1},
        {"a row reference that is no number",
         {{"<row r=\"5\"", "<row r=\"five\""}},
         {": row \"five\"" + notANumber, noName6, noName7, noX7},
         1},
        {"row 2^64-1",
         {{"<row r=\"6\"", "<row r=\"18446744073709551615\""}},
         {": row \"18446744073709551615\" lies beyond row 1048576, the last row" + rowSkipped, noName7, noX7},
         2},
        {"a row number of 100 digits, quoted shortened",
         {{"<row r=\"6\"", "<row r=\"" + std::string(100, '9') + "\""}},
         {": row \"" + std::string(80, '9') + "...\" (100 bytes) lies beyond row 1048576, the last row" +
              rowSkipped,
          noName7, noX7},
         2},
        {"rows out of order: row 1 after row 4, then a row without a number",
         {{"<row r=\"5\"", "<row r=\"01\""},
          {"<row r=\"6\"><c r=\"B6\"", "<row><c r=\"B5\""},
          {"r=\"C6\"", "r=\"C5\""}},
         {": row 1 comes after row 4: rows go in increasing order" + rowSkipped,
          "A5: \"Name\" is required but empty", noName7, noX7},
         1},
        {"a row repeated",
         {{"<row r=\"5\"", "<row r=\"4\""}},
         {": row 4 appears twice: the first one is read, the second one's cells were not", noName6, noName7,
          noX7},
         1},
        {"a cell of another row",
         {{"r=\"B4\"", "r=\"B9\""}},
         {": cell \"B9\" stands in row 4, which is not its row; not read", noX4, noName6, noName7, noX7},
         2},
        {"a cell reference that is no reference",
         {{"r=\"B4\"", "r=\"4B\""}},
         {": cell \"4B\" in row 4 is no cell reference (column letters, then the row, as \"B2\"); not read",
          noX4, noName6, noName7, noX7},
         2},
        {"a cell left of the one before it",
         {{"<c r=\"A4\" t=\"s\"><v>3</v></c><c r=\"B4\"><v>0</v></c>",
           "<c r=\"B4\"><v>0</v></c><c r=\"A4\" t=\"s\"><v>3</v></c>"}},
         {": cell \"A4\" comes after B4: a row's cells go from left to right, each once; not read",
          "A4: \"Name\" is required but empty", noName6, noName7, noX7},
         1},
    };
    for (const auto& [label, changes, findings, nodes] : cases) {
        Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
        for (const auto& [what, with] : changes) {
            Replace(parts, Nodes, what, with);
        }
        const std::string bytes = ForeignWorkbooks::Package(parts);
        AnalysisApp::SpreadsheetPackage package;
        ASSERT_EQ(package.Open(bytes), "") << label;
        const AnalysisApp::SummaryAndCheck result = AnalysisApp::SummariseAndCheck(package);
        EXPECT_EQ(AnalysisApp::ExitCodeOf(result.check), 1) << label << ": " << result.check.problem;
        std::vector<std::string> expected = {"D2: the required column \"Coordinate Y\" is missing",
                                             "D2: the required column \"Coordinate Z\" is missing"};
        expected.insert(expected.end(), findings.begin(), findings.end());
        EXPECT_EQ(NodeFindings(result.check), expected) << label;
        ASSERT_TRUE(result.reading.summary) << label << ": " << result.reading.error;
        EXPECT_EQ(result.reading.summary->nodes, nodes) << label;
        EXPECT_EQ(result.reading.summary->materials, 1u) << label; // the sheet after it still read
    }
}

// A sheet of nothing but rows that go backwards costs the memory of the first thousand findings: the
// rest are counted.
TEST(HostileWorkbook, SkippedRowsBeyondTheFirstThousandAreCountedNotKept) {
    Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
    std::string backwards;
    for (int copy = 0; copy < 1500; ++copy) {
        backwards += "<row r=\"3\"><c r=\"A3\"><v>1</v></c></row>";
    }
    Replace(parts, Nodes, "</sheetData>", backwards + "</sheetData>");
    const AnalysisApp::CheckReport report =
        AnalysisApp::CheckSafWorkbookBytes(ForeignWorkbooks::Package(parts));
    ASSERT_TRUE(report.readable) << report.problem;
    EXPECT_EQ(report.errors, 1500u + 10u); // the foreign workbook's own ten errors, and one per skipped row
    EXPECT_EQ(report.findings.size(), AnalysisApp::KeptFindings);
    EXPECT_EQ(report.findings.back().message, "row 3 comes after row 7: rows go in increasing order" +
                                                  std::string("; its cells were not read"));
}

// --check shows a skipped place as a finding of its sheet, in its text and in its JSON, and exits 1.
TEST(HostileWorkbook, CheckCommandShowsASkippedPlaceInTextAndJson) {
    Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
    Replace(parts, Nodes, "r=\"B4\"", "r=\"XFE4\"");
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "veld-skipped-place-test.xlsx";
    {
        std::ofstream out(file, std::ios::binary);
        out << ForeignWorkbooks::Package(parts);
    }
    const std::string name = file.string();
    const std::string message = "cell \"XFE4\" lies beyond column XFD, the last column; not read";
    std::ostringstream text;
    std::ostringstream json;
    std::ostringstream progress;
    EXPECT_EQ(AnalysisApp::RunCheckCommand({name}, false, text, false, progress), 1);
    EXPECT_EQ(AnalysisApp::RunCheckCommand({name}, true, json, false, progress), 1);
    std::filesystem::remove(file);
    EXPECT_NE(text.str().find(name + ": StructuralPointConnection: error: " + message + "\n"),
              std::string::npos)
        << text.str();
    const nlohmann::json findings = nlohmann::json::parse(json.str()).at(0).at("findings");
    const nlohmann::json skipped = {
        {"sheet", "StructuralPointConnection"}, {"cell", ""}, {"severity", "error"}, {"message", message}};
    EXPECT_NE(std::find(findings.begin(), findings.end(), skipped), findings.end()) << json.str();
}

// A workbook whose relationships name its one shared-strings part many times reads it once.
TEST(HostileWorkbook, SharedStringsNamedByManyRelationshipsAreReadOnce) {
    Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
    std::string repeated;
    for (int copy = 0; copy < 300; ++copy) {
        repeated +=
            "<Relationship Id=\"rS" + std::to_string(copy) +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
            "Target=\"strings.xml\"/>";
    }
    Replace(parts, "book/_rels/workbook.xml.rels", "</Relationships>", repeated + "</Relationships>");
    const std::string bytes = ForeignWorkbooks::Package(parts);
    AnalysisApp::SpreadsheetPackage package;
    ASSERT_EQ(package.Open(bytes), "");
    EXPECT_EQ(package.SharedStrings().size(), 10u);
    EXPECT_TRUE(AnalysisApp::CheckSafWorkbookBytes(bytes).readable);
}

// A workbook with a fault in every row keeps the first thousand findings in the order of the
// workbook and counts the rest.
TEST(HostileWorkbook, FindingsBeyondTheFirstThousandAreCountedNotKept) {
    TinySafWorkbook::Workbook workbook = TinySafWorkbook::Workbook::PortalFrame();
    for (int row = 6; row < 1306; ++row) {
        const std::string number = std::to_string(row);
        workbook.Set("StructuralPointConnection", "A" + number, "M" + number)
            .Set("StructuralPointConnection", "B" + number, "x")
            .Set("StructuralPointConnection", "C" + number, TinySafWorkbook::Cell::Number("0"))
            .Set("StructuralPointConnection", "D" + number, TinySafWorkbook::Cell::Number("0"));
    }
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(workbook.Bytes());
    ASSERT_TRUE(report.readable) << report.problem;
    EXPECT_GE(report.errors + report.warnings, 1300u);
    ASSERT_EQ(report.findings.size(), AnalysisApp::KeptFindings);
    EXPECT_EQ(report.findings.front().cell, "B6");
    EXPECT_EQ(report.findings.back().cell, "B1005");
    // The launch record and --json say how many were only counted.
    EXPECT_EQ(AnalysisApp::CheckReportJson(report).at("findingsLeftOut"),
              report.errors + report.warnings - AnalysisApp::KeptFindings);
}

// A finding quotes only the start of a long value, so that a cell of megabytes does not make every
// finding (and the launch record) as long.
TEST(HostileWorkbook, AFindingQuotesOnlyTheStartOfALongValue) {
    TinySafWorkbook::Workbook workbook = TinySafWorkbook::Workbook::PortalFrame();
    workbook.Set("StructuralPointConnection", "B2", std::string(100000, 'x') + "\xC3\xA9");
    const AnalysisApp::CheckReport report = AnalysisApp::CheckSafWorkbookBytes(workbook.Bytes());
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].cell, "B2");
    EXPECT_NE(report.findings[0].message.find("\"" + std::string(80, 'x') + "...\" (100002 bytes)"),
              std::string::npos)
        << report.findings[0].message.substr(0, 300);
    EXPECT_LT(report.findings[0].message.size(), 300u);
}

// What --check prints cannot steer the terminal: control characters in a file name, a sheet name or
// a cell quoted in a message are shown as escapes.
TEST(HostileWorkbook, FindingsShowControlCharactersAsEscapes) {
    const AnalysisApp::CheckFinding finding{"Sheet\x1B[2J", "B2", AnalysisApp::Severity::Error,
                                            "\"X\" is \"\x1B]0;title\x07\xC2\x9B"
                                            "31m\x7F\tok \xC3\xA9\""};
    EXPECT_EQ(AnalysisApp::FormatFinding("new\nline\r.xlsx", finding),
              "new\\nline\\r.xlsx: Sheet\\x1B[2J!B2: error: \"X\" is "
              "\"\\x1B]0;title\\x07\\u009B31m\\x7F\\tok \xC3\xA9\"");
}

// A shared string used by many cells is held once: every cell refers to the package's copy.
TEST(HostileWorkbook, CellsReferToTheirSharedStringInsteadOfCopyingIt) {
    Parts parts = ForeignWorkbooks::SpreadsheetProgramParts();
    std::string cells;
    for (int column = 0; column < 26; ++column) {
        const std::string reference = std::string(1, static_cast<char>('A' + column)) + "9";
        cells += "<c r=\"" + reference + "\" t=\"s\"><v>5</v></c>";
    }
    Replace(parts, Nodes, "</sheetData>", "<row r=\"9\">" + cells + "</row></sheetData>");
    const std::string bytes = ForeignWorkbooks::Package(parts);
    AnalysisApp::SpreadsheetPackage package;
    ASSERT_EQ(package.Open(bytes), "");
    AnalysisApp::SheetRowReader reader(package, "StructuralPointConnection");
    AnalysisApp::SheetRow row;
    while (reader.Next(row) && row.number != 9) {
    }
    ASSERT_EQ(row.number, 9u) << reader.Error();
    ASSERT_EQ(row.cells.size(), 26u);
    for (const AnalysisApp::SheetCell& cell : row.cells) {
        EXPECT_TRUE(cell.isShared);
        EXPECT_EQ(cell.Value().data(), package.SharedStrings()[5].data());
        EXPECT_EQ(cell.Value(), "Remark");
    }
}

} // namespace
