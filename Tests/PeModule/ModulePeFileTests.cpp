// The Windows module file as the cross build made it, read with the tests' own PE reader and compared
// with what ResConv wrote: 64-bit DLL, exactly the two entry functions, the very resource bytes.
// (What it imports: ModuleBinaryInterfaceTests.cpp.)

#include "PeImage.hpp"

#include "ResFormat/ResFileReader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#ifndef WINDOWS_ADDON_MODULE_PATH
#error "WINDOWS_ADDON_MODULE_PATH names the cross-built module"
#endif
#ifndef WINDOWS_RESOURCE_FILE
#error "WINDOWS_RESOURCE_FILE names the .res file that the cross build linked into the module"
#endif

namespace {

using PeModule::PeImage;
using PeModule::PeResource;

// On Linux the Windows build may not exist: the test then has nothing to look at.
class WindowsModuleFile : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(WINDOWS_ADDON_MODULE_PATH)) {
            GTEST_SKIP() << "no Windows build of the module at " << WINDOWS_ADDON_MODULE_PATH;
        }
        image = PeModule::ReadPeImageFile(WINDOWS_ADDON_MODULE_PATH);
    }

    PeImage image;
};

std::vector<ResFormat::ResourceEntry> ResourcesResConvWrote() {
    std::ifstream in(WINDOWS_RESOURCE_FILE, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    ResFormat::ResFileContents contents = ResFormat::ReadResFile(bytes);
    EXPECT_FALSE(contents.problem.has_value()) << contents.problem->message;
    return contents.entries;
}

const PeResource* FindResource(const PeImage& image, const std::u16string& type, std::uint16_t number,
                               std::uint16_t language) {
    for (const PeResource& resource : image.resources) {
        if (!resource.type.isNumber && resource.type.text == type && resource.name.isNumber &&
            resource.name.number == number && resource.language == language) {
            return &resource;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(WindowsModuleFile, IsA64BitPe32PlusDll) {
    EXPECT_EQ(image.machine, PeImage::MachineAmd64);
    EXPECT_EQ(image.optionalHeaderMagic, PeImage::Pe32PlusMagic);
    EXPECT_NE(image.characteristics & PeImage::DllCharacteristic, 0);
}

TEST_F(WindowsModuleFile, ExportsExactlyTheTwoEntryFunctionsUndecorated) {
    const std::vector<std::string> expected = {"GetExportedFuncAddrs", "SetImportedFuncAddrs"};
    EXPECT_EQ(image.exportNames, expected);
}

TEST_F(WindowsModuleFile, CarriesTheFourStringListsWithTheBytesResConvWrote) {
    for (const std::uint16_t list : std::initializer_list<std::uint16_t>{32000, 32300, 32500, 32600}) {
        SCOPED_TRACE(list);
        const PeResource* resource = FindResource(image, u"STRS", list, 1033);
        ASSERT_NE(resource, nullptr) << "no STRS " << list << " in language 1033";
        bool compared = false;
        for (const ResFormat::ResourceEntry& entry : ResourcesResConvWrote()) {
            if (!entry.type.IsOrdinal() && entry.type.GetText() == u"STRS" && entry.name.IsOrdinal() &&
                entry.name.GetOrdinal() == list) {
                EXPECT_EQ(resource->bytes, entry.data);
                compared = true;
            }
        }
        EXPECT_TRUE(compared) << "ResConv's .res holds no STRS " << list;
    }
}

// The module's VERSIONINFO (cmake/VersionInfo.rc) is the one resource beside those ResConv wrote.
TEST_F(WindowsModuleFile, HoldsEveryResourceOfTheResFileAndBesideThemOnlyItsVersionInfo) {
    constexpr std::uint16_t VersionType = 16;
    const std::vector<ResFormat::ResourceEntry> written = ResourcesResConvWrote();
    EXPECT_EQ(image.resources.size(), written.size() + 1);
    EXPECT_EQ(std::count_if(image.resources.begin(), image.resources.end(),
                            [](const PeResource& resource) {
                                return resource.type.isNumber && resource.type.number == VersionType &&
                                       resource.name.isNumber && resource.name.number == 1;
                            }),
              1);
    for (const ResFormat::ResourceEntry& entry : written) {
        SCOPED_TRACE(entry.type.ToDisplayString() + " " + entry.name.ToDisplayString());
        const bool found =
            std::any_of(image.resources.begin(), image.resources.end(), [&](const PeResource& resource) {
                const bool typeMatches =
                    entry.type.IsOrdinal()
                        ? resource.type.isNumber && resource.type.number == entry.type.GetOrdinal()
                        : !resource.type.isNumber && resource.type.text == entry.type.GetText();
                const bool nameMatches =
                    entry.name.IsOrdinal()
                        ? resource.name.isNumber && resource.name.number == entry.name.GetOrdinal()
                        : !resource.name.isNumber && resource.name.text == entry.name.GetText();
                return typeMatches && nameMatches && resource.language == entry.language &&
                       resource.bytes == entry.data;
            });
        EXPECT_TRUE(found);
    }
}
