#include "ModuleResourceFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// What the module carries as a whole, its identifier and its manifest.
namespace {

using ResFormat::ResName;

std::string Manifest() {
    const std::vector<std::uint8_t> bytes = ModuleResources::Find(ResName::Ordinal(24), ResName::Ordinal(2));
    return {bytes.begin(), bytes.end()};
}

TEST(ModuleResourceSet, ExactlyTheModulesResourcesEachOnceInLanguage1033) {
    ASSERT_FALSE(ModuleResources::Contents().problem.has_value())
        << ModuleResources::Contents().problem->message;
    std::vector<std::string> found;
    for (const ResFormat::ResourceEntry& entry : ModuleResources::Contents().entries) {
        EXPECT_EQ(entry.language, 1033)
            << entry.type.ToDisplayString() << " " << entry.name.ToDisplayString();
        found.push_back(entry.type.ToDisplayString() + " " + entry.name.ToDisplayString());
    }
    std::vector<std::string> expected = {
        "\"STRS\" 32000",    "\"STRS\" 32300",   "\"STRS\" 32500",    "\"STRS\" 32600", "\"GSDG\" 7000",
        "\"GSDG\" 7001",     "\"DLGH\" 7000",    "\"DLGH\" 7001",     "\"MDID\" 32500", "14 \"I10001&96\"",
        "14 \"I10001&192\"", "14 \"I32700&96\"", "14 \"I32700&192\"", "14 1",           "24 2"};
    for (int icon = 1; icon <= 11; ++icon) {
        expected.push_back("3 " + std::to_string(icon));
    }
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected) << "no version resource, no Windows dialog or string table";
}

TEST(ModuleResourceSet, IdentifierReadsBackAsItsTwoValues) {
    const std::vector<std::uint8_t> bytes = ModuleResources::FindHostResource("MDID", 32500);
    EXPECT_EQ(bytes,
              (std::vector<std::uint8_t>{0x08, 0, 0, 0, 0x2F, 0x6C, 0x47, 0x33, 0xCB, 0x50, 0x62, 0xF6}));
    ModuleResources::ByteReader reader(bytes);
    EXPECT_EQ(reader.DoubleWord(), 8u);
    EXPECT_EQ(reader.DoubleWord(), 0x33476C2Fu);
    EXPECT_EQ(reader.DoubleWord(), 0xF66250CBu);
}

TEST(ModuleResourceSet, HostFramedResourcesCountTheBytesAfterTheirCount) {
    for (const auto& [type, number, size] :
         std::vector<std::tuple<const char*, std::uint16_t, std::uint32_t>>{{"GSDG", 7000, 326},
                                                                            {"GSDG", 7001, 308},
                                                                            {"DLGH", 7000, 97},
                                                                            {"DLGH", 7001, 132},
                                                                            {"MDID", 32500, 8}}) {
        const std::vector<std::uint8_t> bytes = ModuleResources::FindHostResource(type, number);
        ASSERT_EQ(bytes.size(), size + 4) << type << " " << number;
        EXPECT_EQ(ModuleResources::ByteReader(bytes).DoubleWord(), size) << type << " " << number;
    }
}

TEST(ModuleResourceSet, ManifestIsTheStandardFormOf381Bytes) {
    const std::string manifest = Manifest();
    EXPECT_EQ(manifest.size(), 381u);
    EXPECT_EQ(manifest.rfind("<?xml version='1.0' encoding='UTF-8' standalone='yes'?>\r\n", 0), 0u);
    for (const char* part :
         {"<assembly xmlns='urn:schemas-microsoft-com:asm.v1' manifestVersion='1.0'>",
          "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">", "<security>", "<requestedPrivileges>",
          "<requestedExecutionLevel level='asInvoker' uiAccess='false' />", "</requestedPrivileges>",
          "</security>", "</trustInfo>", "</assembly>\r\n"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST(ModuleResourceSet, ManifestAsksForNothingElse) {
    const std::string manifest = Manifest();
    for (const char* absent :
         {"dependency", "dpiAware", "dpiAwareness", "compatibility", "requireAdministrator"}) {
        EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
    }
    std::size_t lines = 0;
    for (std::size_t at = manifest.find('\n'); at != std::string::npos; at = manifest.find('\n', at + 1)) {
        EXPECT_EQ(manifest[at - 1], '\r') << "line " << lines + 1 << " ends in CRLF";
        ++lines;
    }
    EXPECT_EQ(lines, 10u);
    EXPECT_TRUE(std::all_of(manifest.begin(), manifest.end(), [](char c) { return c > 0; })) << "plain ASCII";
}

} // namespace
