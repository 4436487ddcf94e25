#include "ByteSink.hpp"
#include "Container/ZipArchive.hpp"
#include "InMemoryZip.hpp"
#include "ZipStreamWriter.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

namespace {

// A zip written for real but with its bulk left out: pieces up to 4 KiB (headers, small entries) are
// kept at their offsets, longer ones only counted and read back as zeros. So a container past 4 GiB
// fits in a test, and the reader still meets every header byte the writer produced.
class SparseZip final : public SafWorkbook::ByteSink, public AnalysisApp::ByteSource {
public:
    void Append(std::string_view data) override {
        if (data.size() <= 4096) {
            kept[size] = std::string(data);
        }
        size += data.size();
    }
    void Overwrite(std::uint64_t offset, std::string_view data) override {
        auto piece = kept.upper_bound(offset);
        ASSERT_NE(piece, kept.begin()) << "an overwrite outside any kept piece";
        --piece;
        ASSERT_LE(offset + data.size(), piece->first + piece->second.size());
        piece->second.replace(offset - piece->first, data.size(), data);
    }
    std::uint64_t Size() const override { return size; }
    bool Good() const override { return true; }

    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override {
        if (offset > size || length > size - offset) {
            return false;
        }
        out.assign(length, '\0');
        for (const auto& [start, bytes] : kept) {
            const std::uint64_t end = start + bytes.size();
            const std::uint64_t from = std::max(start, offset);
            const std::uint64_t to = std::min<std::uint64_t>(end, offset + length);
            if (from < to) {
                out.replace(from - offset, to - from, bytes.substr(from - start, to - from));
            }
        }
        return true;
    }

private:
    std::map<std::uint64_t, std::string> kept;
    std::uint64_t size = 0;
};

TEST(Zip64, AnEntryPastFourGibibytesAndAnOffsetPastThemReadBack) {
    SparseZip zip;
    SafWorkbook::ZipStreamWriter writer(zip);
    SafWorkbook::ZipEntryOptions large;
    large.deflate = false;
    large.mayExceed4GiB = true;
    ASSERT_TRUE(writer.BeginEntry("big.bin", large));
    const std::string block(std::size_t{64} << 20, '\0');
    const std::uint64_t bigSize = (std::uint64_t{1} << 32) + 5 * block.size();
    for (std::uint64_t written = 0; written < bigSize; written += block.size()) {
        ASSERT_TRUE(writer.Write(block));
    }
    ASSERT_TRUE(writer.EndEntry());
    ASSERT_TRUE(writer.BeginEntry("after.txt") && writer.Write("after four gibibytes") && writer.EndEntry());
    ASSERT_TRUE(writer.Finish()) << writer.Error();

    const AnalysisApp::ZipListing listing =
        AnalysisApp::ListZip(static_cast<const AnalysisApp::ByteSource&>(zip));
    ASSERT_EQ(listing.error, "");
    ASSERT_EQ(listing.members.size(), 2u);
    EXPECT_EQ(listing.members[0].size, bigSize);
    EXPECT_EQ(listing.members[0].compressedSize, bigSize);
    EXPECT_GT(listing.members[1].localHeaderOffset, std::uint64_t{0xFFFFFFFF});
    const AnalysisApp::ZipExtraction after = AnalysisApp::ExtractZipMember(zip, listing.members[1], 1000);
    EXPECT_EQ(after.data.value_or(after.error), "after four gibibytes");

    // The local header names the zip64 sizes too, for readers that stream without the directory.
    std::string local;
    ASSERT_TRUE(zip.ReadAt(0, 30 + 7 + 20, local));
    EXPECT_EQ(static_cast<unsigned char>(local[4]), 45u) << "version needed: zip64";
    EXPECT_EQ(local.substr(18, 8), std::string(8, '\xFF'));
    EXPECT_EQ(local.substr(37, 4), std::string("\x01\x00\x10\x00", 4));
}

TEST(Zip64, MoreEntriesThanTheClassicDirectoryCountsAreListed) {
    std::vector<SafWorkbook::ZipEntry> entries;
    for (int index = 0; index < 70000; ++index) {
        entries.push_back({"e" + std::to_string(index), std::to_string(index), false});
    }
    const SafWorkbook::ZipResult zip = SafWorkbook::BuildZip(entries);
    ASSERT_EQ(zip.error, "");
    const AnalysisApp::ZipListing listing = AnalysisApp::ListZip(zip.bytes);
    ASSERT_EQ(listing.error, "");
    ASSERT_EQ(listing.members.size(), 70000u);
    const AnalysisApp::ZipExtraction last =
        AnalysisApp::ExtractZipMember(zip.bytes, listing.members.back(), 100);
    EXPECT_EQ(last.data.value_or(last.error), "69999");
    // The classic end record says "see the zip64 record" with its saturated count.
    EXPECT_EQ(zip.bytes.substr(zip.bytes.size() - 22 + 8, 4), std::string(4, '\xFF'));
}

TEST(Zip64, AnEntryThatMayNotGrowPastFourGibibytesIsRefused) {
    SparseZip zip;
    SafWorkbook::ZipStreamWriter writer(zip);
    SafWorkbook::ZipEntryOptions small;
    small.deflate = false;
    ASSERT_TRUE(writer.BeginEntry("big.bin", small));
    const std::string block(std::size_t{256} << 20, '\0');
    for (int piece = 0; piece < 17; ++piece) {
        ASSERT_TRUE(writer.Write(block));
    }
    EXPECT_FALSE(writer.EndEntry());
    EXPECT_EQ(writer.Error(), "big.bin is too large for its zip entry");
}

} // namespace
