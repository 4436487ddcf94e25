#include "Container/ZipArchive.hpp"
#include "InMemoryZip.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string NoisyText(std::size_t size) {
    std::mt19937 generator(7);
    std::string text(size, '\0');
    for (char& character : text) {
        character = static_cast<char>(generator() & 0xFF);
    }
    return text;
}

std::vector<SafWorkbook::ZipEntry> MixedEntries() {
    return {
        {"[Content_Types].xml", "<Types/>", true},
        {"empty.txt", "", true},
        {"xl/worksheets/sheet1.xml", std::string(200000, 'a') + "<row/>", true},
        {"stored/noise.bin", NoisyText(5000), false},
        {"d\xC3\xA9j\xC3\xA0.xml", "<name with=\"UTF-8\"/>", true},
    };
}

TEST(ZipContainer, EveryEntryReadsBackByOurReader) {
    const std::vector<SafWorkbook::ZipEntry> entries = MixedEntries();
    const SafWorkbook::ZipResult zip = SafWorkbook::BuildZip(entries);
    ASSERT_TRUE(zip.error.empty()) << zip.error;

    const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(zip.bytes);
    ASSERT_TRUE(listing.error.empty()) << listing.error;
    ASSERT_EQ(listing.members.size(), entries.size());
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const AnalysisApp::ZipMember& member = listing.members[index];
        EXPECT_EQ(member.name, entries[index].name);
        EXPECT_EQ(member.method, entries[index].deflate ? 8 : 0);
        const AnalysisApp::ZipExtraction extraction =
            AnalysisApp::ExtractZipMember(zip.bytes, member, 1u << 20);
        ASSERT_TRUE(extraction.data) << extraction.error;
        EXPECT_EQ(*extraction.data, entries[index].data);
    }
}

TEST(ZipContainer, DeflateActuallyCompresses) {
    const SafWorkbook::ZipResult zip = SafWorkbook::BuildZip({{"big.xml", std::string(100000, 'x'), true}});
    ASSERT_TRUE(zip.error.empty());
    EXPECT_LT(zip.bytes.size(), 2000u);
}

TEST(ZipContainer, TheSameEntriesGiveTheSameBytes) {
    EXPECT_EQ(SafWorkbook::BuildZip(MixedEntries()).bytes, SafWorkbook::BuildZip(MixedEntries()).bytes);
}

TEST(ZipReaderRefusal, AFlippedDataByteFailsTheCrcCheck) {
    SafWorkbook::ZipResult zip = SafWorkbook::BuildZip({{"a.txt", "hello world", false}});
    const std::size_t dataOffset = 30 + 5; // local header, then the name
    zip.bytes[dataOffset] = 'H';
    const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(zip.bytes);
    ASSERT_TRUE(listing.error.empty());
    const AnalysisApp::ZipExtraction extraction =
        AnalysisApp::ExtractZipMember(zip.bytes, listing.members[0], 1000);
    EXPECT_FALSE(extraction.data);
    EXPECT_EQ(extraction.error, "a.txt: CRC-32 does not match");
}

TEST(ZipReaderRefusal, AMemberLargerThanTheLimitIsRefusedUnread) {
    const SafWorkbook::ZipResult zip = SafWorkbook::BuildZip({{"big.xml", std::string(5000, 'x'), true}});
    const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(zip.bytes);
    ASSERT_EQ(listing.members.size(), 1u);
    const AnalysisApp::ZipExtraction extraction =
        AnalysisApp::ExtractZipMember(zip.bytes, listing.members[0], 4999);
    EXPECT_FALSE(extraction.data);
    EXPECT_EQ(extraction.error, "big.xml is larger than 4999 bytes");
}

TEST(ZipReaderRefusal, ADeclaredSizeThatLiesIsCaught) {
    const SafWorkbook::ZipResult zip = SafWorkbook::BuildZip({{"a.xml", std::string(3000, 'y'), true}});
    AnalysisApp::ZipListing listing = AnalysisApp::ListZip(zip.bytes);
    ASSERT_EQ(listing.members.size(), 1u);
    for (const std::uint32_t claimed : {2999u, 3001u, 0u}) {
        AnalysisApp::ZipMember member = listing.members[0];
        member.size = claimed;
        EXPECT_FALSE(AnalysisApp::ExtractZipMember(zip.bytes, member, 1u << 20).data)
            << "claimed " << claimed;
    }
}

TEST(ZipReaderRefusal, TextThatIsNoZipHasNoDirectory) {
    EXPECT_EQ(AnalysisApp::ListZip("just some text, certainly not a zip file").error,
              "not a zip file (no end of central directory)");
    EXPECT_FALSE(AnalysisApp::ListZip("").error.empty());
}

// Every prefix of a valid archive, and the archive with each single byte changed, is either read or
// refused; none may make the reader touch memory outside the buffer (the sanitizer build proves it).
TEST(ZipReaderRefusal, EveryTruncationAndEveryByteFlipIsHandled) {
    const SafWorkbook::ZipResult zip =
        SafWorkbook::BuildZip({{"a.xml", "<a>alpha</a>", true}, {"b.bin", "beta", false}});
    std::size_t refused = 0;
    const auto tryRead = [&](const std::string& bytes) {
        const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(bytes);
        if (!listing.error.empty()) {
            ++refused;
        }
        for (const AnalysisApp::ZipMember& member : listing.members) {
            const AnalysisApp::ZipExtraction extraction =
                AnalysisApp::ExtractZipMember(bytes, member, 1u << 16);
            EXPECT_NE(extraction.data.has_value(), !extraction.error.empty());
        }
    };
    for (std::size_t length = 0; length < zip.bytes.size(); ++length) {
        tryRead(zip.bytes.substr(0, length));
    }
    EXPECT_EQ(refused, zip.bytes.size()) << "a cut-off archive must never list as whole";
    for (std::size_t offset = 0; offset < zip.bytes.size(); ++offset) {
        std::string damaged = zip.bytes;
        damaged[offset] = static_cast<char>(damaged[offset] ^ 0xA5);
        tryRead(damaged);
    }
}

} // namespace
