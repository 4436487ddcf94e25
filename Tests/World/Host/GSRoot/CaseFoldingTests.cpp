#include "CaseFolding.hpp"

#include <gtest/gtest.h>

#include <string>

using GS::CaseFolding::CompareUpper;
using GS::CaseFolding::Fold;
using GS::CaseFolding::ToUpper;

namespace {

std::string Hex(char16_t unit) {
    char text[8];
    std::snprintf(text, sizeof(text), "U+%04X", static_cast<unsigned>(unit));
    return text;
}

Int32 CompareUpperText(const std::u16string& left, const std::u16string& right) {
    return CompareUpper(left.data(), left.size(), right.data(), right.size());
}

} // namespace

// Whatever the table holds, folding and upper-casing must agree: a letter's upper-case form folds
// to the same unit as the letter, or case-insensitive lookups would miss what the registry sorted.
TEST(CaseFolding, UpperCaseAndFoldingAgreeOnEveryBmpUnit) {
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        const char16_t unit = static_cast<char16_t>(code);
        if (unit == 0x0131) {
            continue; // dotless i upper-cases to I but, without the Turkic rules, does not fold
        }
        EXPECT_EQ(Fold(ToUpper(unit)), Fold(unit)) << Hex(unit);
    }
}

TEST(CaseFolding, WholeAlphabetsFold) {
    const std::u16string upper = u"ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"
                                 u"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"
                                 u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁЂЃЄЅІЇЈЉЊЋЌЍЎЏ";
    const std::u16string lower = u"abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"
                                 u"αβγδεζηθικλμνξοπρστυφχψω"
                                 u"абвгдежзийклмнопрстуфхцчшщъыьэюяёђѓєѕіїјљњћќѝўџ";
    ASSERT_EQ(upper.size(), lower.size());
    for (std::size_t i = 0; i < upper.size(); ++i) {
        EXPECT_EQ(Fold(upper[i]), lower[i]) << Hex(upper[i]);
        EXPECT_EQ(ToUpper(lower[i]), upper[i]) << Hex(lower[i]);
    }
}

TEST(CaseFolding, LatinExtendedAPairsAlternate) {
    EXPECT_EQ(Fold(u'Ā'), u'ā');
    EXPECT_EQ(Fold(u'Ł'), u'ł');
    EXPECT_EQ(Fold(u'Ő'), u'ő');
    EXPECT_EQ(Fold(u'Ž'), u'ž');
    EXPECT_EQ(Fold(u'ā'), u'ā');
    EXPECT_EQ(ToUpper(u'ł'), u'Ł');
    EXPECT_EQ(ToUpper(u'ĸ'), u'ĸ'); // kra has no upper case
}

TEST(CaseFolding, SpecialFoldings) {
    EXPECT_EQ(Fold(u'ς'), u'σ');
    EXPECT_EQ(Fold(u'µ'), u'μ');
    EXPECT_EQ(Fold(u'ſ'), u's');
    EXPECT_EQ(Fold(u'\x212A'), u'k'); // Kelvin sign
    EXPECT_EQ(Fold(u'ẞ'), u'ß');
    EXPECT_EQ(Fold(u'İ'), u'İ');
    EXPECT_EQ(Fold(u'ı'), u'ı');
    EXPECT_EQ(Fold(u'Ÿ'), u'ÿ');
    EXPECT_EQ(Fold(u'Ａ'), u'ａ'); // fullwidth
    EXPECT_EQ(Fold(u'×'), u'×');   // the multiplication sign sits among the capitals but is no letter
}

TEST(CaseFolding, RegistryOrderComparesUpperCasedUnits) {
    // Upper-cased, "_" (0x5F) follows every ASCII letter and "ä" (as Ä, 0xC4) follows "_".
    EXPECT_LT(CompareUpperText(u"A", u"a1"), 0);
    EXPECT_LT(CompareUpperText(u"a1", u"b"), 0);
    EXPECT_LT(CompareUpperText(u"b", u"Z"), 0);
    EXPECT_LT(CompareUpperText(u"Z", u"_x"), 0);
    EXPECT_LT(CompareUpperText(u"_x", u"ä"), 0);
    EXPECT_EQ(CompareUpperText(u"VELD", u"veld"), 0);
}
