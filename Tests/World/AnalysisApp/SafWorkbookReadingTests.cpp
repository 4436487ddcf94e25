#include "ForeignWorkbooks.hpp"
#include "Program/SafSummary.hpp"
#include "SafRules/SafChecker.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"
#include "TinySafWorkbook.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using ForeignWorkbooks::Package;
using ForeignWorkbooks::Parts;
using ForeignWorkbooks::SpreadsheetProgramParts;

std::string RefusalOf(const std::string& bytes) {
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes);
    EXPECT_FALSE(reading.summary) << "read as SAF although it should be refused";
    return reading.error;
}

TEST(ForeignWorkbook, CountsOnlyRowsWithANameWhereverTheWriterPutThings) {
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(Package(SpreadsheetProgramParts()));
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->safVersion, "2.2.0");
    EXPECT_EQ(reading.summary->nodes, 2u); // N1 and 17; not the row without a name, nor the blank one
    EXPECT_EQ(reading.summary->materials, 1u);
    EXPECT_EQ(reading.summary->members, 0u); // no such sheet
}

TEST(ForeignWorkbook, SheetsAreNamedThroughTheWorkbookAndItsRelationships) {
    AnalysisApp::SpreadsheetPackage package;
    const std::string bytes = Package(SpreadsheetProgramParts());
    ASSERT_EQ(package.Open(bytes), "");
    EXPECT_EQ(package.SheetNames(), (std::vector<std::string>{"Notes", "Model", "StructuralPointConnection",
                                                              "StructuralMaterial"}));
    std::string error;
    const std::optional<AnalysisApp::SheetTable> nodes =
        package.ReadSheet("StructuralPointConnection", error);
    ASSERT_TRUE(nodes) << error;
    ASSERT_EQ(nodes->rows.size(), 5u); // the styled-but-empty row is no row
    EXPECT_EQ(nodes->rows[0].number, 2u);
    EXPECT_EQ(nodes->rows[1].ValueAt(0), "N1"); // rich text runs joined, phonetic run left out
    EXPECT_EQ(nodes->rows[2].ValueAt(0), "17");
    EXPECT_EQ(nodes->rows[2].ValueAt(1), "6.5");
    EXPECT_EQ(nodes->rows[3].ValueAt(2), "no name");
    const std::optional<AnalysisApp::SheetTable> model = package.ReadSheet("Model", error);
    ASSERT_TRUE(model) << error;
    EXPECT_EQ(model->rows[0].ValueAt(1), "1.0"); // a formula's cached text
}

TEST(ForeignWorkbook, APackageWithoutRootRelationshipsFallsBackToTheUsualWorkbookPart) {
    Parts parts = SpreadsheetProgramParts();
    parts.erase("_rels/.rels");
    for (const char* part : {"workbook.xml", "_rels/workbook.xml.rels", "strings.xml", "sheets/a.xml",
                             "sheets/b.xml", "sheets/c.xml", "sheets/notes.xml"}) {
        parts["xl/" + std::string(part)] = parts.at("book/" + std::string(part));
        parts.erase("book/" + std::string(part));
    }
    // The one absolute target must follow the move too.
    std::string& relationships = parts.at("xl/_rels/workbook.xml.rels");
    relationships.replace(relationships.find("/book/"), 6, "/xl/");
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(Package(parts));
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->nodes, 2u);
}

TEST(NotSafWorkbook, IsRefusedWithTheReason) {
    EXPECT_EQ(RefusalOf("PK but not really a zip"), "not a zip file (no end of central directory)");
    EXPECT_EQ(RefusalOf(Package({{"readme.txt", "hello"}})),
              "not a spreadsheet workbook: the workbook has no part xl/workbook.xml");

    Parts noModel = SpreadsheetProgramParts();
    std::string& workbook = noModel.at("book/workbook.xml");
    workbook.replace(workbook.find("name=\"Model\""), 12, "name=\"Mode1\"");
    EXPECT_EQ(RefusalOf(Package(noModel)), "it has no Model sheet");

    Parts noVersion = SpreadsheetProgramParts();
    std::string& modelSheet = noVersion.at("book/sheets/c.xml");
    modelSheet.replace(modelSheet.find("<v>1</v>"), 8, "<v>5</v>");
    EXPECT_EQ(RefusalOf(Package(noVersion)), "its Model sheet has no \"SAF Version\"");
}

TEST(NotSafWorkbook, DamagedPartsAreNamed) {
    Parts missingSheet = SpreadsheetProgramParts();
    missingSheet.erase("book/sheets/a.xml");
    EXPECT_EQ(RefusalOf(Package(missingSheet)), "the workbook has no part book/sheets/a.xml");

    Parts badIndex = SpreadsheetProgramParts();
    std::string& materials = badIndex.at("book/sheets/b.xml");
    materials.replace(materials.find("<v>6</v>"), 8, "<v>60</v>");
    EXPECT_EQ(RefusalOf(Package(badIndex)),
              "sheet StructuralMaterial (book/sheets/b.xml): row 2: shared string \"60\" does not exist");

    Parts brokenXml = SpreadsheetProgramParts();
    brokenXml.at("book/sheets/c.xml") = "<worksheet><sheetData><row r=\"1>";
    EXPECT_EQ(RefusalOf(Package(brokenXml)),
              "sheet Model (book/sheets/c.xml): unterminated start tag at byte 22");
}

// Headers and Model keys match as SAF advises readers; sheets the reader does not know are counted
// when they hold named objects, and sheets without a header are not object sheets.
TEST(ForeignWorkbook, HeadersMatchInAnyCaseAndEveryObjectSheetIsCounted) {
    TinySafWorkbook::Workbook workbook = TinySafWorkbook::Workbook::PortalFrame();
    workbook.Set("StructuralPointConnection", "A1", " name ").Set("Model", "A2", "saf version");
    workbook.AddSheet(
        {"StructuralEdgeConnection", {{"NAME", "Member"}, {"E1", "W1"}, {"E2", "W1"}, {"", "W1"}}});
    workbook.AddSheet({"Empty", {}});
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(workbook.Bytes());
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->safVersion, "2.2.0");
    EXPECT_EQ(reading.summary->nodes, 4u);
    EXPECT_EQ(reading.summary->supports, 2u);
    EXPECT_EQ(reading.summary->objects.back(),
              (std::pair<std::string, std::size_t>{"StructuralEdgeConnection", 2}));
    EXPECT_EQ(
        AnalysisApp::DescribeSummary(*reading.summary),
        "SAF 2.2.0: 1 materials, 2 cross-sections, 4 nodes, 2 members, 1 surfaces, 2 storeys, 2 supports; "
        "2 edge supports");
}

// A reader takes what it can: a sheet without a Name column holds no objects it can count; the
// checker is the one to say what is wrong with it.
TEST(ForeignWorkbook, ASheetWithoutANameColumnCountsNothingAndTheCheckerSaysWhy) {
    Parts noNameColumn = SpreadsheetProgramParts();
    std::string& header = noNameColumn.at("book/sheets/b.xml");
    header.replace(header.find("<v>0</v>"), 8, "<v>5</v>");
    const std::string bytes = Package(noNameColumn);
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes);
    ASSERT_TRUE(reading.summary) << reading.error;
    EXPECT_EQ(reading.summary->materials, 0u);
    EXPECT_EQ(reading.summary->nodes, 2u);
    const AnalysisApp::CheckReport check = AnalysisApp::CheckSafWorkbookBytes(bytes);
    const auto missingName =
        std::find_if(check.findings.begin(), check.findings.end(), [](const auto& finding) {
            return finding.sheet == "StructuralMaterial" &&
                   finding.message == "the required column \"Name\" is missing";
        });
    EXPECT_NE(missingName, check.findings.end());
}

// Each prefix and each single damaged byte of a foreign workbook gives a summary or a refusal; the
// sanitizer build proves no read strays outside the buffer.
TEST(NotSafWorkbook, EveryTruncationAndByteFlipEndsInASummaryOrAReason) {
    const std::string bytes = Package(SpreadsheetProgramParts());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes.substr(0, length));
        EXPECT_FALSE(reading.summary) << "a cut-off workbook read whole at length " << length;
        EXPECT_FALSE(reading.error.empty());
    }
    for (std::size_t offset = 0; offset < bytes.size(); offset += 3) {
        std::string damaged = bytes;
        damaged[offset] = static_cast<char>(damaged[offset] ^ 0x5A);
        const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(damaged);
        EXPECT_NE(reading.summary.has_value(), !reading.error.empty()) << "offset " << offset;
    }
}

TEST(PartPaths, ResolveAgainstTheFolderOfTheirSource) {
    EXPECT_EQ(AnalysisApp::ResolvePartPath("xl/workbook.xml", "worksheets/sheet1.xml"),
              "xl/worksheets/sheet1.xml");
    EXPECT_EQ(AnalysisApp::ResolvePartPath("xl/workbook.xml", "/xl/worksheets/sheet1.xml"),
              "xl/worksheets/sheet1.xml");
    EXPECT_EQ(AnalysisApp::ResolvePartPath("xl/workbook.xml", "../docs/x.xml"), "docs/x.xml");
    EXPECT_EQ(AnalysisApp::ResolvePartPath("", "xl/workbook.xml"), "xl/workbook.xml");
    EXPECT_EQ(AnalysisApp::ResolvePartPath("a.xml", "../../../b.xml"), "b.xml");
}

TEST(CellReferences, GiveTheirColumnUpToXfd) {
    EXPECT_EQ(AnalysisApp::ColumnOfReference("A1"), 0u);
    EXPECT_EQ(AnalysisApp::ColumnOfReference("ab12"), 27u);
    EXPECT_EQ(AnalysisApp::ColumnOfReference("XFD1048576"), 16383u);
    EXPECT_FALSE(AnalysisApp::ColumnOfReference("XFE1"));
    EXPECT_FALSE(AnalysisApp::ColumnOfReference("AAAA1"));
    EXPECT_FALSE(AnalysisApp::ColumnOfReference("12"));
}

} // namespace
