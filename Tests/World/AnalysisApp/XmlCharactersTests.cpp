#include "Xml/XmlCharacters.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using AnalysisApp::XmlNameKind;
constexpr std::size_t None = std::string_view::npos;

// The scan goes sixteen bytes at a time over printable ASCII and byte by byte elsewhere: a fault is
// found wherever it falls, and a character cut by the end of a piece is judged only when it may not
// go on.
TEST(XmlCharacters, ScanFindsTheFirstIllegalByteAndLeavesACutCharacterForLater) {
    const std::string ascii40(40, 'x');
    const struct {
        std::string bytes;
        bool complete;
        std::size_t illegal;
        std::size_t checked;
    } cases[] = {
        {ascii40, true, None, 40},
        {ascii40 + "\t\n\r\x7F", true, None, 44},
        {ascii40.substr(0, 20) + "\x1F" + ascii40, true, 20, 20},
        {ascii40.substr(0, 17) + "\x80" + ascii40, true, 17, 17},
        {ascii40.substr(0, 3) + "\x01", true, 3, 3},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF" + ascii40, true, None, 53},
        {"ab\xE2\x82", false, None, 2},
        {"ab\xE2\x82", true, 2, 2},
        {"ab\xC3", false, None, 2},
        {"ab\xC3<", false, 2, 2},
        {"ab\xC3<cdef", false, 2, 2},
        {"\xC0\x80", true, 0, 0},
        {"\xED\xA0\x80", true, 0, 0},
        {"x\xEF\xBF\xBE", true, 1, 1},
        {"x\xEF\xBF\xBF", false, 1, 1},
        {"x\xF0\x9F", false, None, 1},
        {"x\xF0\x8F", false, 1, 1},
        {"x\xE0\x80", false, 1, 1},
        {"x\x80", false, 1, 1},
        {"\xF4\x90\x80\x80", true, 0, 0},
        {"\xF5\x80\x80\x80", true, 0, 0},
        {"", false, None, 0},
    };
    for (const auto& [bytes, complete, illegal, checked] : cases) {
        const AnalysisApp::XmlCharacterScan scan = AnalysisApp::ScanXmlCharacters(bytes, complete);
        EXPECT_EQ(scan.illegal, illegal) << testing::PrintToString(bytes) << " complete " << complete;
        EXPECT_EQ(scan.checked, checked) << testing::PrintToString(bytes) << " complete " << complete;
    }
}

TEST(XmlCharacters, NamesAreToldFromQualifiedNamesAndFromNonNames) {
    const struct {
        std::string name;
        XmlNameKind kind;
    } cases[] = {
        {"row", XmlNameKind::Qualified},          {"x:row", XmlNameKind::Qualified},
        {"_a-b.c9", XmlNameKind::Qualified},      {"\xC3\xA9t\xC3\xA9", XmlNameKind::Qualified},
        {":row", XmlNameKind::UnqualifiedColon},  {"row:", XmlNameKind::UnqualifiedColon},
        {"a:b:c", XmlNameKind::UnqualifiedColon}, {"", XmlNameKind::NotAName},
        {"9row", XmlNameKind::NotAName},          {"-row", XmlNameKind::NotAName},
        {"a b", XmlNameKind::NotAName},           {"a<b", XmlNameKind::NotAName},
        {"a=b", XmlNameKind::NotAName},           {"a\"", XmlNameKind::NotAName},
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(AnalysisApp::ClassifyXmlName(name).kind, kind) << name;
    }
    for (const auto& [qualified, local] :
         {std::pair<std::string, std::string>{"x:row", "row"}, {"row", "row"}, {"a-b:c.d", "c.d"}}) {
        EXPECT_EQ(qualified.substr(AnalysisApp::ClassifyXmlName(qualified).localStart), local);
    }
    for (const char ends : std::string(" \t\n\r/>=", 7) + '\0') {
        EXPECT_TRUE(AnalysisApp::EndsXmlName(ends)) << static_cast<int>(ends);
    }
    for (const char goesOn : std::string("a:_-.9\"<&\x80")) {
        EXPECT_FALSE(AnalysisApp::EndsXmlName(goesOn)) << goesOn;
    }
}

} // namespace
