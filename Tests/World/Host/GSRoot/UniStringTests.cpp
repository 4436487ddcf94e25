#include "MemoryManager.hpp"
#include "UniString.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

using GS::UniString;

namespace {

std::u16string Units(const UniString& text) {
    return std::u16string(text.ToUStr(), text.GetLength());
}

std::string Bytes(const UniString::CStr& text) {
    return std::string(text.Get(), text.GetLength());
}

// Counts the memory-manager blocks a piece of code leaves behind, under an owner of its own.
class OwnedByTest : public ::testing::Test {
protected:
    GS::MemoryOwner owner = GS::MemoryManager::RegisterOwner("UniString test");
    GS::MemoryOwnerScope scope{owner};
};

} // namespace

TEST(UniStringLayout, AllZeroBytesAreAValidEmptyString) {
    // Host records holding a string are zero-filled, then used as strings.
    alignas(UniString) unsigned char record[sizeof(UniString)];
    std::memset(record, 0, sizeof(record));
    auto* text = std::launder(reinterpret_cast<UniString*>(record));
    EXPECT_TRUE(text->IsEmpty());
    EXPECT_EQ(Units(*text), u"");
    EXPECT_EQ(*text, UniString());
    text->Append(UniString("filled"));
    EXPECT_EQ(Units(*text), u"filled");
    text->~UniString();
}

TEST(UniStringLayout, IsSixteenBytes) {
    EXPECT_EQ(sizeof(UniString), 16u);
}

TEST_F(OwnedByTest, EmptyStringsHoldNoBlock) {
    UniString fromNothing;
    UniString fromEmptyText("");
    UniString fromNull(static_cast<const char*>(nullptr));
    UniString cleared("something");
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 1u);
    cleared.Clear();
    UniString emptySubstring = UniString("abc").GetSubstring(3, 5);
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
}

TEST_F(OwnedByTest, StringsReleaseEveryBlockTheyMade) {
    {
        UniString text("Grüße");
        UniString copy = text;
        copy.Append(copy);
        UniString moved = std::move(copy);
        moved += u'!';
        EXPECT_GT(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
    }
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
    EXPECT_EQ(GS::MemoryManager::GetLiveByteCount(owner), 0u);
}

TEST_F(OwnedByTest, AStringMadeUnderOneOwnerMayBeDestroyedUnderAnother) {
    auto* text = new UniString("made by the add-on");
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 1u);
    {
        GS::MemoryOwnerScope host(GS::HostMemoryOwner);
        delete text;
    }
    EXPECT_EQ(GS::MemoryManager::GetLiveBlockCount(owner), 0u);
}

TEST(UniStringUtf8, NonAsciiTextRoundTrips) {
    const char* text = "Grüße · Ελληνικά · Кириллица · 日本語 · 😀";
    const UniString converted(text);
    EXPECT_EQ(Bytes(converted.ToCStr()), text);
    EXPECT_EQ(Bytes(converted.ToUTF8()), text);
    EXPECT_EQ(Bytes(converted.ToCStr(0, GS::MaxUIndex, CC_UTF8)), text);
}

TEST(UniStringUtf8, CharactersBeyondTheBmpBecomeSurrogatePairs) {
    const UniString grin("a\xF0\x9F\x98\x80z", CC_UTF8);
    EXPECT_EQ(Units(grin), std::u16string(u"a\xD83D\xDE00z"));
    const UniString highest("\xF4\x8F\xBF\xBF", CC_UTF8);
    EXPECT_EQ(Units(highest), std::u16string(u"\xDBFF\xDFFF"));
    EXPECT_EQ(Bytes(UniString(u"\xDBFF\xDFFF").ToUTF8()), "\xF4\x8F\xBF\xBF");
}

TEST(UniStringUtf8, UnpairedSurrogatesCannotBeEncoded) {
    const UniString lone(u"a\xD800"
                         u"b\xDC00");
    EXPECT_EQ(lone.GetLength(), 4u);
    EXPECT_EQ(Bytes(lone.ToUTF8()), "a\xEF\xBF\xBD"
                                    "b\xEF\xBF\xBD");
    EXPECT_EQ(Bytes(lone.ToCStr(0, GS::MaxUIndex, CC_UTF8, '?')), "a?b?");
    EXPECT_EQ(Bytes(lone.ToCStr(0, GS::MaxUIndex, CC_UTF8, 0)), "ab");
    const UniString reversed(u"\xDC00\xD800");
    EXPECT_EQ(Bytes(reversed.ToCStr(0, GS::MaxUIndex, CC_UTF8, '#')), "##");
}

TEST(UniStringUtf8, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        const char* bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\xC3", u"\xFFFD"},                               // truncated two-byte form
        {"\xC0\xAF", u"\xFFFD\xFFFD"},                     // overlong '/'
        {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"}, // beyond U+10FFFF
        {"\xE2\x82"
         "A",
         u"\xFFFD"
         "A"}, // a cut sequence does not swallow the next character
        {"\x80x\xFF", u"\xFFFD"
                      "x\xFFFD"},        // stray continuation and an impossible byte
        {"ok\xF0\x9F\x98", u"ok\xFFFD"}, // truncated at the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Units(UniString(c.bytes, CC_UTF8)), c.expected) << c.bytes;
    }
}

TEST(UniStringUtf8, ByteCountConstructorReadsEmbeddedNuls) {
    const UniString text("a\0b", 3, CC_UTF8);
    EXPECT_EQ(Units(text), std::u16string(u"a\0b", 3));
    EXPECT_EQ(Units(UniString::FromUTF8("abcdef", 3)), u"abc");
}

TEST(UniStringWindowsLatin1, DecodesAllBytesWithTheCodePageTable) {
    EXPECT_EQ(Units(UniString("\x80\x8A\x9F\xA0\xE9\xFF", CC_WindowsLatin1)),
              u"\u20AC\u0160\u0178\u00A0\u00E9\u00FF");
    for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
        const char text[2] = {undefined, '\0'};
        EXPECT_EQ(Units(UniString(text, CC_WindowsLatin1)), u"\xFFFD");
    }
}

TEST(UniStringWindowsLatin1, EveryDefinedByteRoundTrips) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D) {
            all += static_cast<char>(byte);
        }
    }
    const UniString text(all.c_str(), CC_WindowsLatin1);
    EXPECT_EQ(text.GetLength(), all.size());
    EXPECT_EQ(Bytes(text.ToCStr(0, GS::MaxUIndex, CC_WindowsLatin1)), all);
}

TEST(UniStringWindowsLatin1, CharactersOutsideTheCodePageTakeTheErrorCharacter) {
    const UniString text(u"Ω€\u0081x\xD83D\xDE00");
    EXPECT_EQ(Bytes(text.ToCStr(0, GS::MaxUIndex, CC_WindowsLatin1, '?')), "?\x80?x?");
}

TEST(UniStringAscii, KeepsOnlySevenBitCharacters) {
    EXPECT_EQ(Units(UniString("caf\xE9", CC_ASCII)), u"caf\xFFFD");
    EXPECT_EQ(Bytes(UniString("café").ToCStr(0, GS::MaxUIndex, CC_ASCII, '_')), "caf_");
    EXPECT_EQ(Bytes(UniString("café").ToCStr(0, GS::MaxUIndex, CC_ASCII)), "caf");
}

TEST(UniStringToCStr, RangeIsClippedToTheString) {
    const UniString hello("Hello");
    EXPECT_EQ(Bytes(hello.ToCStr(1, 3)), "ell");
    EXPECT_EQ(Bytes(hello.ToCStr(3, GS::MaxUIndex)), "lo");
    EXPECT_EQ(Bytes(hello.ToCStr(3, 100)), "lo");
    EXPECT_EQ(Bytes(hello.ToCStr(5)), "");
    EXPECT_EQ(Bytes(hello.ToCStr(99, 2)), "");
    EXPECT_EQ(hello.ToCStr(0, 0).GetLength(), 0u);
}

TEST(UniStringToCStr, ARangeThatSplitsASurrogatePairLeavesItUnpaired) {
    const UniString text(u"a\xD83D\xDE00"
                         u"b");
    EXPECT_EQ(Bytes(text.ToCStr(0, 2, CC_UTF8, '?')), "a?");
    EXPECT_EQ(Bytes(text.ToCStr(2, 2, CC_UTF8, '?')), "?b");
    EXPECT_EQ(Bytes(text.ToCStr(1, 2, CC_UTF8, '?')), "\xF0\x9F\x98\x80");
}

TEST(UniStringToCStr, CStrOutlivesTheStringAndMoves) {
    UniString::CStr kept = [] {
        const UniString temporary("temporary ü");
        return temporary.ToCStr();
    }();
    UniString::CStr moved = std::move(kept);
    EXPECT_STREQ(moved.Get(), "temporary ü");
    EXPECT_EQ(moved.GetLength(), 12u);
    EXPECT_STREQ(kept.Get(), ""); // NOLINT(bugprone-use-after-move): a moved-from CStr reads empty
}

TEST(UniStringCompare, CaseSensitiveOrderIsCodeUnitOrder) {
    EXPECT_LT(UniString("B").Compare(UniString("a")), 0);
    EXPECT_LT(UniString("abc").Compare(UniString("abcd")), 0);
    EXPECT_GT(UniString("abd").Compare(UniString("abcd")), 0);
    EXPECT_EQ(UniString("same").Compare(UniString("same")), 0);
    EXPECT_TRUE(UniString("x") < UniString("y"));
    EXPECT_NE(UniString("Case"), UniString("case"));
}

TEST(UniStringCompare, CaseInsensitiveFoldsLatinGreekAndCyrillic) {
    const std::pair<const char*, const char*> equal[] = {
        {"VeldEngineer", "VELDENGINEER"},
        {"ÄÖÜ ÀÉÎ ØÞ", "äöü àéî øþ"},
        {"ÿ", "Ÿ"},
        {"ŁÓDŹ ŐŰ ČŠŽ", "łódź őű čšž"},
        {"ΣΊΣΥΦΟΣ", "σίσυφος"},
        {"ΣΊΣΥΦΟΣ", "σίσυφοσ"},
        {"ПРИВЕТ ЁЖ ЇЄ", "привет ёж їє"},
        {"µ", "μ"},
    };
    for (const auto& [left, right] : equal) {
        EXPECT_TRUE(UniString(left).IsEqual(UniString(right), GS::CaseInsensitive)) << left << " / " << right;
        EXPECT_EQ(UniString(left).Compare(UniString(right), GS::CaseInsensitive), 0)
            << left << " / " << right;
    }
}

TEST(UniStringCompare, CaseInsensitiveKeepsDifferentLettersApart) {
    EXPECT_FALSE(UniString("straße").IsEqual(UniString("STRASSE"), GS::CaseInsensitive));
    EXPECT_FALSE(UniString("a").IsEqual(UniString("á"), GS::CaseInsensitive));
    EXPECT_FALSE(UniString("ab").IsEqual(UniString("a"), GS::CaseInsensitive));
    EXPECT_LT(UniString("a").Compare(UniString("B"), GS::CaseInsensitive), 0);
    EXPECT_GT(UniString("b").Compare(UniString("A"), GS::CaseInsensitive), 0);
}

TEST(UniStringEditing, AppendConcatenateAndSubstring) {
    UniString text("abc");
    text.Append(text);
    EXPECT_EQ(Units(text), u"abcabc");
    text.Append(u"xyz", 2);
    EXPECT_EQ(Units(text), u"abcabcxy");
    EXPECT_EQ(Units(UniString("Installer\\VeldEngineer") + UniString("\\") + UniString("2024")),
              u"Installer\\VeldEngineer\\2024");
    EXPECT_EQ(Units(text.GetSubstring(2, 3)), u"cab");
    EXPECT_EQ(Units(text.GetSubstring(6, 100)), u"xy");
    EXPECT_EQ(text.FindFirst(u'c'), 2u);
    EXPECT_EQ(text.FindFirst(u'c', 3), 5u);
    EXPECT_EQ(text.FindFirst(u'q'), GS::MaxUIndex);
    EXPECT_EQ(text[1], u'b');
    EXPECT_EQ(text[100], u'\0');
}

TEST(UniStringEditing, ManySmallAppendsKeepTheText) {
    UniString text;
    std::u16string expected;
    for (int i = 0; i < 1000; ++i) {
        const char16_t unit = static_cast<char16_t>(u'a' + i % 26);
        text += unit;
        expected += unit;
    }
    EXPECT_EQ(Units(text), expected);
    EXPECT_EQ(text.ToUStr()[text.GetLength()], u'\0');
}

TEST(UniStringEditing, AssignmentAndMoveLeaveBothSidesUsable) {
    UniString original("original");
    UniString target("something longer than the original");
    target = original;
    EXPECT_EQ(Units(target), u"original");
    UniString& sameTarget = target;
    target = sameTarget;
    EXPECT_EQ(Units(target), u"original");
    UniString moved(std::move(original));
    EXPECT_EQ(Units(moved), u"original");
    EXPECT_TRUE(original.IsEmpty()); // NOLINT(bugprone-use-after-move): moved-from strings are empty
    original = UniString("again");
    EXPECT_EQ(Units(original), u"again");
}

TEST(UniStringEditing, UpperCaseMapsLettersOnly) {
    EXPECT_EQ(Units(UniString("straße ÿ µ ς 42 ı").ToUpperCase()), u"STRAßE Ÿ Μ Σ 42 I");
    EXPECT_EQ(Units(UniString("привет").ToUpperCase()), u"ПРИВЕТ");
}
