// The PE reader on bytes that are no module: a checker that accepted them would prove nothing.

#include "PeImage.hpp"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> MinimalHeaders() {
    // MZ, e_lfanew = 0x40, "PE\0\0", AMD64, no sections, a PE32+ optional header of 240 bytes with 16
    // empty directories: a module with nothing in it.
    std::vector<std::uint8_t> file(0x40 + 4 + 20 + 240, 0);
    file[0] = 'M';
    file[1] = 'Z';
    file[0x3C] = 0x40;
    file[0x40] = 'P';
    file[0x41] = 'E';
    file[0x44] = 0x64;
    file[0x45] = 0x86;
    file[0x44 + 16] = 240;
    file[0x44 + 18] = 0x00;
    file[0x44 + 19] = 0x20;
    file[0x58] = 0x0B;
    file[0x59] = 0x02;
    file[0x58 + 108] = 16;
    return file;
}

} // namespace

TEST(PeImageReader, ReadsTheHeadersOfAnEmptyModule) {
    const PeModule::PeImage image = PeModule::ReadPeImage(MinimalHeaders());
    EXPECT_EQ(image.machine, PeModule::PeImage::MachineAmd64);
    EXPECT_EQ(image.optionalHeaderMagic, PeModule::PeImage::Pe32PlusMagic);
    EXPECT_NE(image.characteristics & PeModule::PeImage::DllCharacteristic, 0);
    EXPECT_TRUE(image.exportNames.empty());
    EXPECT_TRUE(image.importedDlls.empty());
    EXPECT_TRUE(image.resources.empty());
}

TEST(PeImageReader, RefusesTextAndTruncatedHeaders) {
    const std::string text = "this is text, not a module";
    EXPECT_THROW(PeModule::ReadPeImage(std::vector<std::uint8_t>(text.begin(), text.end())),
                 PeModule::PeFormatError);
    std::vector<std::uint8_t> truncated = MinimalHeaders();
    truncated.resize(0x50);
    EXPECT_THROW(PeModule::ReadPeImage(truncated), PeModule::PeFormatError);
}

TEST(PeImageReader, ADirectoryOutsideEverySectionIsAnError) {
    std::vector<std::uint8_t> file = MinimalHeaders();
    // The export directory at RVA 0x1000, with no section to hold it.
    file[0x58 + 112 + 1] = 0x10;
    file[0x58 + 116] = 40;
    EXPECT_THROW(PeModule::ReadPeImage(file), PeModule::PeFormatError);
}

TEST(PeImageReader, APeSignaturePastTheEndIsAnError) {
    std::vector<std::uint8_t> file = MinimalHeaders();
    file[0x3C] = 0xFF;
    file[0x3D] = 0xFF;
    EXPECT_THROW(PeModule::ReadPeImage(file), PeModule::PeFormatError);
}
