#include "Spreadsheet/CellValues.hpp"
#include "Spreadsheet/HeaderKey.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(HeaderKeys, MatchAsSafAdvisesReaders) {
    const std::pair<const char*, const char*> cases[] = {
        {"Coordinate X [m]", "coordinatex"},           {" coordinate-x ", "coordinatex"},
        {"Cross-section Type", "crosssectiontype"},    {"Iw[m6]", "iw"},
        {"Poisson Coefficient", "poissoncoefficient"}, {"Name\xC2\xA0", "name"},
        {"Stiffness Fix [MNm/rad]", "stiffnessfix"},
    };
    for (const auto& [header, key] : cases) {
        EXPECT_EQ(AnalysisApp::HeaderKey(header), key) << header;
    }
    EXPECT_EQ(AnalysisApp::HeaderUnit("Thermal expansion [ 1/K ]"), "1/K");
    EXPECT_EQ(AnalysisApp::HeaderUnit("Name"), "");
    // A blank at either end alone, and a two-byte character that is no blank at either end.
    const std::pair<const char*, const char*> trimmed[] = {
        {"\xC2\xA0 N1 \t", "N1"},
        {"N1\xC2\xA0", "N1"},
        {"\nN1", "N1"},
        {"N1\r", "N1"},
        {"\xC2\xA9N1\xC2\xA9", "\xC2\xA9N1\xC2\xA9"},
        {"\xC2\xA0", ""},
        {"N 1", "N 1"},
    };
    for (const auto& [text, expected] : trimmed) {
        EXPECT_EQ(AnalysisApp::Trimmed(text), expected) << text;
    }
}

TEST(CellValues, NumbersAreDecimalsWithADot) {
    const std::string manyDigits(300, '9');
    for (const std::string& number :
         std::vector<std::string>{"0", "-1.5", "+2", "1.2e-05", "210000", " 3.5 ", "1.", ".5", "-0.25",
                                  "\xC2\xA0"
                                  "7",
                                  manyDigits, manyDigits + "0", "0." + manyDigits}) {
        EXPECT_TRUE(AnalysisApp::IsNumber(number)) << number;
    }
    for (const std::string& text :
         std::vector<std::string>{"", "1,5", "nan", "inf", "1.5m", "0x10", "--1", "-", ".", "1.2.3", "-.",
                                  "1-", "1 2", manyDigits + std::string(10, '9')}) {
        EXPECT_FALSE(AnalysisApp::IsNumber(text)) << text;
    }
    EXPECT_EQ(AnalysisApp::WholeNumber("23"), 23);
    EXPECT_EQ(AnalysisApp::WholeNumber("1.5"), std::nullopt);
}

TEST(CellValues, ListsDatesGuidsColoursAndUnits) {
    EXPECT_EQ(AnalysisApp::ListItems("N1; N2 ;N3"), (std::vector<std::string_view>{"N1", "N2", "N3"}));
    EXPECT_EQ(AnalysisApp::ListItems("N1;;N2").size(), 3u) << "an empty item is kept for the check to see";
    EXPECT_TRUE(AnalysisApp::LooksLikeDate("2026-12-08"));
    EXPECT_TRUE(AnalysisApp::LooksLikeDate("2026-12-08 09:30"));
    EXPECT_FALSE(AnalysisApp::LooksLikeDate("08.12.2026"));
    EXPECT_TRUE(AnalysisApp::LooksLikeGuid("{5AF00001-0000-4000-8000-000000000001}"));
    EXPECT_FALSE(AnalysisApp::LooksLikeGuid("5af00001-0000-4000-8000-00000000000"));
    EXPECT_TRUE(AnalysisApp::IsVersionNumber("2.2.0"));
    EXPECT_FALSE(AnalysisApp::IsVersionNumber("V2.2.0"));
    EXPECT_FALSE(AnalysisApp::IsVersionNumber("2..2"));
    EXPECT_TRUE(AnalysisApp::IsArgbColor("#FF00aa11"));
    EXPECT_FALSE(AnalysisApp::IsArgbColor("#00aa11"));
    EXPECT_EQ(AnalysisApp::UnitKey("m\xC2\xB2"), AnalysisApp::UnitKey("M2"));
}

TEST(CellValues, SegmentsNeedTheirNodesWithNeighboursSharingOne) {
    EXPECT_EQ(AnalysisApp::NodesOfSegments("Line"), 2u);
    EXPECT_EQ(AnalysisApp::NodesOfSegments("Line;Line;Line"), 4u);
    EXPECT_EQ(AnalysisApp::NodesOfSegments("Circular Arc; Bezier"), 6u);
    EXPECT_EQ(AnalysisApp::NodesOfSegments("Spline-5"), 5u);
    EXPECT_EQ(AnalysisApp::NodesOfSegments("Line;Arc"), std::nullopt);
}

} // namespace
