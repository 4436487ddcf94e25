#include "Container/ZipArchive.hpp"
#include "FuzzCheck.hpp"
#include "Program/SafSummary.hpp"
#include "SafRules/SafChecker.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// VeldEngineer.exe's workbook reading on bytes: the zip container (listing and extracting every
// member), the .xlsx package with every sheet it names, the SAF summary and the SAF checker. A member that
// extracts is exactly its stated size.
namespace {

// Members are inflated up to this here; the reader's own limit is far larger, and a small input can
// only inflate about a thousandfold anyway.
constexpr std::size_t MemberLimit = std::size_t{4} * 1024 * 1024;

void CheckZip(std::string_view bytes) {
    const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(bytes);
    if (!listing.error.empty()) {
        return;
    }
    for (const AnalysisApp::ZipMember& member : listing.members) {
        FUZZ_REQUIRE(member.name.find('\\') == std::string::npos, "member names use forward slashes");
        const AnalysisApp::ZipExtraction extracted =
            AnalysisApp::ExtractZipMember(bytes, member, MemberLimit);
        if (extracted.data) {
            FUZZ_REQUIRE(extracted.data->size() == member.size, "an extracted member has its stated size");
        } else {
            FUZZ_REQUIRE(!extracted.error.empty(), "a member that cannot be extracted says why");
        }
        FUZZ_REQUIRE(AnalysisApp::FindZipMember(listing, member.name) != nullptr,
                     "every listed member is found");
    }
}

void CheckPackage(std::string_view bytes) {
    AnalysisApp::SpreadsheetPackage package;
    if (!package.Open(bytes).empty()) {
        return;
    }
    for (const std::string& name : package.SheetNames()) {
        FUZZ_REQUIRE(package.HasSheet(name), "a named sheet is there");
        std::string error;
        const std::optional<AnalysisApp::SheetTable> sheet = package.ReadSheet(name, error);
        if (!sheet) {
            FUZZ_REQUIRE(!error.empty(), "a sheet that cannot be read says why");
            continue;
        }
        for (std::size_t index = 1; index < sheet->rows.size(); ++index) {
            FUZZ_REQUIRE(sheet->rows[index - 1].number < sheet->rows[index].number, "rows come in order");
        }
        // What cannot be placed is skipped, never wrapped: every row and cell read lies on the sheet.
        for (const AnalysisApp::SheetRow& row : sheet->rows) {
            FUZZ_REQUIRE(row.number >= 1 && row.number <= AnalysisApp::LastRow, "a row lies on the sheet");
            for (std::size_t index = 0; index < row.cells.size(); ++index) {
                FUZZ_REQUIRE(row.cells[index].column <= AnalysisApp::LastColumn, "a cell lies on the sheet");
                FUZZ_REQUIRE(index == 0 || row.cells[index - 1].column < row.cells[index].column,
                             "a row's cells come left to right");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckZip(bytes);
    CheckPackage(bytes);
    const AnalysisApp::SafReading reading = AnalysisApp::ReadSafWorkbook(bytes);
    if (reading.summary) {
        FUZZ_REQUIRE(!reading.summary->safVersion.empty(), "a SAF workbook has its version");
        (void)AnalysisApp::DescribeSummary(*reading.summary);
    } else {
        FUZZ_REQUIRE(!reading.error.empty(), "a workbook that is not SAF says why");
    }
    const AnalysisApp::CheckReport check = AnalysisApp::CheckSafWorkbookBytes(bytes);
    FUZZ_REQUIRE(check.errors + check.warnings == check.findings.size(), "the checker counts every finding");
    FUZZ_REQUIRE(check.readable || !check.problem.empty(), "an unreadable workbook says why");
    return 0;
}
