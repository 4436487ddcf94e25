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
    EXPECT_EQ(AnalysisApp::Trimmed("\xC2\xA0 N1 \t"), "N1");
}

TEST(CellValues, NumbersAreDecimalsWithADot) {
    for (const char* number : {"0", "-1.5", "+2", "1.2e-05", "210000", " 3.5 "}) {
        EXPECT_TRUE(AnalysisApp::IsNumber(number)) << number;
    }
    for (const char* text : {"", "1,5", "nan", "inf", "1.5m", "0x10", "--1"}) {
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
