#include "CheckFinding.hpp"
#include "ForeignWorkbooks.hpp"
#include "SafChecker.hpp"
#include "SpreadsheetPackage.hpp"
#include "TinySafWorkbook.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Workbooks made to mislead the reader: each is refused as unreadable (exit 2) with the part and
// what is wrong in it, and is not read as though it were whole.
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
         sheet + "bad entity reference at byte 448"},
        {"a DTD with entities",
         [](Parts& parts) {
             parts.at(Nodes).insert(0, "<!DOCTYPE w [<!ENTITY e \"x\">]>");
             Replace(parts, Nodes, "no name", "&e;");
         },
         sheet + "a document type declaration (DTD), which is not allowed at byte 0"},
        {"a cell beyond row 1048576",
         [](Parts& parts) {
             Replace(parts, Nodes, "<row r=\"7\"><c r=\"A7\"", "<row r=\"1048577\"><c r=\"XFD1048577\"");
         },
         sheet + "row \"1048577\" after row 6: rows are numbered 1 to 1048576 in increasing order"},
        {"a cell beyond column XFD", [](Parts& parts) { Replace(parts, Nodes, "r=\"B2\"", "r=\"XFE2\""); },
         sheet + "row 2: cell \"XFE2\" is no cell of this row after column 1 within A to XFD"},
        {"row 0", [](Parts& parts) { Replace(parts, Nodes, "<row r=\"2\"", "<row r=\"0\""); },
         sheet + "row \"0\" after row 0: rows are numbered 1 to 1048576 in increasing order"},
        {"row -5", [](Parts& parts) { Replace(parts, Nodes, "<row r=\"2\"", "<row r=\"-5\""); },
         sheet + "row \"-5\" after row 0: rows are numbered 1 to 1048576 in increasing order"},
        {"row 2^64-1",
         [](Parts& parts) { Replace(parts, Nodes, "<row r=\"4\"", "<row r=\"18446744073709551615\""); },
         sheet +
             "row \"18446744073709551615\" after row 3: rows are numbered 1 to 1048576 in increasing order"},
        {"rows out of order", [](Parts& parts) { Replace(parts, Nodes, "<row r=\"4\"", "<row r=\"1\""); },
         sheet + "row \"1\" after row 3: rows are numbered 1 to 1048576 in increasing order"},
        {"a row repeated", [](Parts& parts) { Replace(parts, Nodes, "<row r=\"4\"", "<row r=\"3\""); },
         sheet + "row \"3\" after row 3: rows are numbered 1 to 1048576 in increasing order"},
        {"a cell of another row", [](Parts& parts) { Replace(parts, Nodes, "r=\"B2\"", "r=\"B9\""); },
         sheet + "row 2: cell \"B9\" is no cell of this row after column 1 within A to XFD"},
        {"cells out of order", [](Parts& parts) { Replace(parts, Nodes, "r=\"C2\"", "r=\"A2\""); },
         sheet + "row 2: cell \"A2\" is no cell of this row after column 2 within A to XFD"},
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
