// Resources are read at the first lookup, and resource modules opened on one module share that
// reading: what a lookup finds must be exactly what the compiled resource file holds.
#include "RSTestModules.hpp"

#include "ResFormat/ResFileLayout.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> CompiledResourceFile() {
    std::ifstream stream(VELD_RESOURCE_FILE, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream),
                                     std::istreambuf_iterator<char>());
}

std::string Ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// Looks `entry` up the way the host asks for it: a named type by its name and number, a Windows
// type by its ordinal and the resource's name or number.
std::span<const UInt8> LookUp(GSResModule module, const ResFormat::ResourceEntry& entry) {
    UInt32 size = 0;
    const UInt8* bytes = nullptr;
    if (!entry.type.IsOrdinal()) {
        bytes = RSFindResource(module, Ascii(entry.type.GetText()).c_str(), entry.name.GetOrdinal(), &size);
    } else if (entry.name.IsOrdinal()) {
        bytes =
            RSFindWindowsResource(module, entry.type.GetOrdinal(), nullptr, entry.name.GetOrdinal(), &size);
    } else {
        bytes =
            RSFindWindowsResource(module, entry.type.GetOrdinal(), entry.name.GetText().c_str(), 0, &size);
    }
    return bytes != nullptr ? std::span<const UInt8>(bytes, size) : std::span<const UInt8>();
}

#ifdef _WIN32
extern "C" __declspec(dllimport) int NoResourceModuleFunction();
#else
extern "C" int NoResourceModuleFunction();
#endif

// Opening finds out only whether there is anything to read: a library with no resources at all,
// and an address that is no module's start, give -1 at once.
TEST(RSModuleOpening, LibraryWithoutResourcesGivesMinusOne) {
    EXPECT_EQ(RSInitModuleImageCache(RSTest::ModuleOf(&NoResourceModuleFunction)), InvalidResModule);
}

TEST(RSModuleOpening, AddressThatIsNoLoadedModuleGivesMinusOne) {
    const auto* programStart = reinterpret_cast<const char*>(RSTest::ModuleOf(&RSTest::Utf8));
    EXPECT_EQ(RSInitModuleImageCache(reinterpret_cast<HINSTANCE>(const_cast<char*>(programStart + 4096))),
              InvalidResModule);
}

TEST(RSLazyReading, FirstLookupAfterOpeningFindsEveryResourceOfTheCompiledFile) {
    const ResFormat::ResFileContents compiled = ResFormat::ReadResFile(CompiledResourceFile());
    ASSERT_FALSE(compiled.problem) << compiled.problem->message;
    ASSERT_GE(compiled.entries.size(), 20u);

    const GSResModule module = RSInitModuleImageCache(RSTest::ModuleOf(&RSTest::Utf8));
    ASSERT_GE(module, 1);
    for (const ResFormat::ResourceEntry& entry : compiled.entries) {
        SCOPED_TRACE(entry.type.ToDisplayString() + " " + entry.name.ToDisplayString());
        ASSERT_EQ(entry.language, ResFormat::LanguageEnglishUS);
        const std::span<const UInt8> found = LookUp(module, entry);
        ASSERT_EQ(found.size(), entry.data.size());
        EXPECT_TRUE(std::equal(found.begin(), found.end(), entry.data.begin()));
    }
    RSRemoveModuleImageCache(module);
}

TEST(RSLazyReading, ResourceModulesOnOneModuleShareOneReadingAndCloseIndependently) {
    const HINSTANCE program = RSTest::ModuleOf(&RSTest::Utf8);
    const GSResModule first = RSInitModuleImageCache(program);
    const GSResModule second = RSInitModuleImageCache(program);
    ASSERT_GE(first, 1);
    ASSERT_GT(second, first);

    UInt32 firstSize = 0;
    UInt32 secondSize = 0;
    const UInt8* firstBytes = RSFindResource(first, "GSDG", 7001, &firstSize);
    ASSERT_NE(firstBytes, nullptr);
    EXPECT_EQ(RSFindResource(second, "GSDG", 7001, &secondSize), firstBytes);
    EXPECT_EQ(secondSize, firstSize);

    RSRemoveModuleImageCache(first);
    EXPECT_EQ(RSFindResource(first, "GSDG", 7001, &firstSize), nullptr);
    EXPECT_EQ(RSFindResource(second, "GSDG", 7001, &secondSize), firstBytes);
    EXPECT_EQ(RSTest::Text(second, 32600, 2), "Open in VELD Engineer...");
    RSRemoveModuleImageCache(second);
    EXPECT_EQ(RSTest::Text(second, 32600, 2), "");
}

} // namespace
