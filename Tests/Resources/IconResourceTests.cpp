#include "ModuleResourceFile.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

// The module's icons: the directories of its icon groups as Windows reads them, pointing at icons of
// the sizes they state; PNG images that decode as 8-bit RGBA with a background colour; bitmaps in
// the icon format.
namespace {

using ModuleResources::ByteReader;
using ResFormat::ResName;

constexpr std::uint16_t IconType = 3;
constexpr std::uint16_t IconGroupType = 14;

std::vector<std::uint8_t> IconImage(std::uint16_t number) {
    return ModuleResources::Find(ResName::Ordinal(IconType), ResName::Ordinal(number));
}

struct DirectoryEntry {
    std::uint8_t width, height, colours, reserved;
    std::uint16_t planes, bitCount;
    std::uint32_t bytes;
    std::uint16_t icon;

    bool operator==(const DirectoryEntry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DirectoryEntry& entry) {
    return out << "{" << int{entry.width} << "x" << int{entry.height} << " colours " << int{entry.colours}
               << " reserved " << int{entry.reserved} << " planes " << entry.planes << " bits "
               << entry.bitCount << " bytes " << entry.bytes << " icon " << entry.icon << "}";
}

// The entries of a group; fails the test unless the header is reserved 0, type 1 and the count, and
// the entries end the resource.
std::vector<DirectoryEntry> Directory(const ResName& group) {
    const std::vector<std::uint8_t> bytes = ModuleResources::Find(ResName::Ordinal(IconGroupType), group);
    EXPECT_FALSE(bytes.empty()) << "no icon group " << group.ToDisplayString();
    std::vector<DirectoryEntry> entries;
    try {
        ByteReader reader(bytes);
        EXPECT_EQ(reader.Word(), 0) << "reserved";
        EXPECT_EQ(reader.Word(), 1) << "type: icons";
        const std::uint16_t count = reader.Word();
        for (std::uint16_t i = 0; i < count; ++i) {
            DirectoryEntry entry{reader.Byte(), reader.Byte(), reader.Byte(),       reader.Byte(),
                                 reader.Word(), reader.Word(), reader.DoubleWord(), reader.Word()};
            entries.push_back(entry);
        }
        EXPECT_TRUE(reader.AtEnd()) << group.ToDisplayString();
    } catch (const ModuleResources::OutOfBytes& error) {
        ADD_FAILURE() << group.ToDisplayString() << ": " << error.what();
    }
    return entries;
}

DirectoryEntry PngEntry(std::uint16_t icon) {
    return {0, 0, 0, 0, 1, 0, static_cast<std::uint32_t>(IconImage(icon).size()), icon};
}

DirectoryEntry AddOnEntry(std::uint8_t size, std::uint16_t icon) {
    return {size, size, 0, 0, 1, 32, static_cast<std::uint32_t>(IconImage(icon).size()), icon};
}

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

struct DecodedPng {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool hasBackground = false;
    // The inflated scanlines: one filter byte and the row's pixels per row.
    std::vector<std::uint8_t> scanlines;
};

// Walks the chunks (each CRC checked) and inflates the image data; any fault fails the test.
DecodedPng DecodePng(const std::vector<std::uint8_t>& png, std::uint16_t icon) {
    DecodedPng decoded;
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() > 8 && std::equal(signature.begin(), signature.end(), png.begin())) << icon;
    std::vector<std::uint8_t> data;
    std::string last;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian32(png, at);
        if (length > png.size() - at - 12) {
            ADD_FAILURE() << "icon " << icon << ": chunk at " << at << " runs past the end";
            break;
        }
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const std::uint8_t* body = png.data() + at + 8;
        const uLong crc = crc32(crc32(0, Z_NULL, 0), png.data() + at + 4, length + 4);
        EXPECT_EQ(crc, BigEndian32(png, at + 8 + length)) << "icon " << icon << " chunk " << type;
        if (type == "IHDR") {
            EXPECT_EQ(at, 8u) << "IHDR comes first";
            decoded.width = BigEndian32(png, at + 8);
            decoded.height = BigEndian32(png, at + 12);
            decoded.bitDepth = body[8];
            decoded.colourType = body[9];
        } else if (type == "bKGD") {
            decoded.hasBackground = data.empty();
        } else if (type == "IDAT") {
            data.insert(data.end(), body, body + length);
        }
        last = type;
        at += 12 + length;
    }
    EXPECT_EQ(last, "IEND") << icon;
    decoded.scanlines.resize(std::size_t{decoded.height} * (1 + std::size_t{decoded.width} * 4));
    uLongf size = static_cast<uLongf>(decoded.scanlines.size());
    EXPECT_EQ(uncompress(decoded.scanlines.data(), &size, data.data(), static_cast<uLong>(data.size())), Z_OK)
        << icon;
    EXPECT_EQ(size, decoded.scanlines.size()) << icon;
    return decoded;
}

TEST(ModuleIconGroups, MenuAndInformationGroupsHoldOnePngEntryWithoutItsSize) {
    EXPECT_EQ(Directory(ResName::Named(u"I10001&96")), (std::vector<DirectoryEntry>{PngEntry(1)}));
    EXPECT_EQ(Directory(ResName::Named(u"I10001&192")), (std::vector<DirectoryEntry>{PngEntry(2)}));
    EXPECT_EQ(Directory(ResName::Named(u"I32700&96")), (std::vector<DirectoryEntry>{PngEntry(3)}));
    EXPECT_EQ(Directory(ResName::Named(u"I32700&192")), (std::vector<DirectoryEntry>{PngEntry(4)}));
}

TEST(ModuleIconGroups, AddOnGroupHoldsSevenImagesInOrder) {
    EXPECT_EQ(Directory(ResName::Ordinal(1)),
              (std::vector<DirectoryEntry>{AddOnEntry(128, 5), AddOnEntry(16, 6), AddOnEntry(0, 7),
                                           AddOnEntry(32, 8), AddOnEntry(48, 9), AddOnEntry(0, 10),
                                           AddOnEntry(48, 11)}));
}

TEST(ModuleIconGroups, EveryEntryPointsAtAnIconOfItsStatedSize) {
    for (const ResFormat::ResourceEntry& group : ModuleResources::Contents().entries) {
        if (group.type != ResName::Ordinal(IconGroupType)) {
            continue;
        }
        for (const DirectoryEntry& entry : Directory(group.name)) {
            const std::vector<std::uint8_t> icon = IconImage(entry.icon);
            EXPECT_FALSE(icon.empty()) << group.name.ToDisplayString() << " names icon " << entry.icon;
            EXPECT_EQ(icon.size(), entry.bytes) << group.name.ToDisplayString() << " icon " << entry.icon;
        }
    }
}

TEST(ModuleIcons, PngImagesDecodeAsEightBitRgbaWithABackgroundColour) {
    const std::vector<std::pair<std::uint16_t, std::uint32_t>> sizes = {{1, 18}, {2, 36},  {3, 18},
                                                                        {4, 36}, {7, 256}, {10, 512}};
    for (const auto& [icon, size] : sizes) {
        const DecodedPng png = DecodePng(IconImage(icon), icon);
        EXPECT_EQ(png.width, size) << icon;
        EXPECT_EQ(png.height, size) << icon;
        EXPECT_EQ(png.bitDepth, 8) << icon;
        EXPECT_EQ(png.colourType, 6) << icon;
        EXPECT_TRUE(png.hasBackground) << "icon " << icon << " needs a bKGD chunk before its image data";
    }
}

// The dialogs' information sign is dark grey on a transparent ground: no pixel is both visible and
// light, and the corners show through.
TEST(ModuleIcons, InformationSignIsDarkOnTransparent) {
    const DecodedPng png = DecodePng(IconImage(3), 3);
    ASSERT_EQ(png.width, 18u);
    for (std::uint32_t row = 0; row < png.height; ++row) {
        const std::uint8_t* line = png.scanlines.data() + row * (1 + png.width * 4);
        if (line[0] != 0) {
            continue; // a filtered row's bytes are differences, not colours
        }
        for (std::uint32_t x = 0; x < png.width; ++x) {
            const std::uint8_t* pixel = line + 1 + x * 4;
            if (pixel[3] > 128) {
                EXPECT_LT(pixel[0] + pixel[1] + pixel[2], 3 * 128) << "row " << row << " x " << x;
            }
        }
        if (row == 0) {
            EXPECT_EQ(line[1 + 3], 0) << "top left corner is transparent";
        }
    }
}

TEST(ModuleIcons, BitmapsAreThirtyTwoBitWithDoubledHeightAndAMaskOfTheTransparentPixels) {
    for (const auto& [icon, size] : std::vector<std::pair<std::uint16_t, std::uint32_t>>{
             {5, 128}, {6, 16}, {8, 32}, {9, 48}, {11, 48}}) {
        const std::vector<std::uint8_t> bitmap = IconImage(icon);
        ByteReader reader(bitmap);
        EXPECT_EQ(reader.DoubleWord(), 40u) << icon << ": BITMAPINFOHEADER";
        EXPECT_EQ(reader.DoubleWord(), size) << icon;
        EXPECT_EQ(reader.DoubleWord(), 2 * size) << icon << ": colour rows and mask rows";
        EXPECT_EQ(reader.Word(), 1) << icon << ": planes";
        EXPECT_EQ(reader.Word(), 32) << icon << ": bits per pixel";
        EXPECT_EQ(reader.DoubleWord(), 0u) << icon << ": uncompressed";
        const std::size_t colourBytes = std::size_t{size} * size * 4;
        const std::size_t maskRow = (size + 31) / 32 * 4;
        ASSERT_EQ(bitmap.size(), 40 + colourBytes + maskRow * size) << icon;
        std::size_t transparent = 0;
        for (std::uint32_t row = 0; row < size; ++row) {
            for (std::uint32_t x = 0; x < size; ++x) {
                const std::uint8_t alpha = bitmap[40 + (std::size_t{row} * size + x) * 4 + 3];
                const std::uint8_t maskByte = bitmap[40 + colourBytes + row * maskRow + x / 8];
                const bool masked = (maskByte & (0x80 >> (x % 8))) != 0;
                EXPECT_EQ(masked, alpha == 0) << "icon " << icon << " row " << row << " x " << x;
                transparent += alpha == 0 ? 1 : 0;
            }
        }
        EXPECT_GT(transparent, 0u) << icon << ": the puzzle piece stands on a transparent ground";
        EXPECT_LT(transparent, std::size_t{size} * size) << icon;
    }
}

TEST(ModuleIcons, SecondFortyEightPixelImageIsTheFirstByteForByte) {
    EXPECT_FALSE(IconImage(9).empty());
    EXPECT_EQ(IconImage(11), IconImage(9));
}

TEST(ModuleIcons, HighResolutionImagesAreTwiceTheSizeOfTheDialogsIconItem) {
    EXPECT_EQ(DecodePng(IconImage(3), 3).width * 2, DecodePng(IconImage(4), 4).width);
    EXPECT_EQ(DecodePng(IconImage(1), 1).width * 2, DecodePng(IconImage(2), 2).width);
}

} // namespace
