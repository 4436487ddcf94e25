#include "Guid.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

using GS::Guid;

namespace {
std::string Text(const Guid& guid) {
    return guid.ToUniString().ToUTF8().Get();
}
} // namespace

TEST(Guid, DefaultIsTheNullGuid) {
    EXPECT_TRUE(Guid().IsNull());
    EXPECT_EQ(Text(Guid()), "00000000-0000-0000-0000-000000000000");
}

TEST(Guid, GeneratedGuidsAreRandomVersionFourAndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const Guid guid = Guid::Generate();
        EXPECT_FALSE(guid.IsNull());
        EXPECT_EQ(guid.data3 >> 12, 4);
        EXPECT_EQ(guid.data4[0] & 0xC0, 0x80);
        seen.insert(Text(guid));
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(Guid, TextFormIsGroupedUpperCaseHex) {
    const UInt8 tail[8] = {0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67};
    const Guid guid(0x0123ABCD, 0x4567, 0x89EF, tail);
    EXPECT_EQ(Text(guid), "0123ABCD-4567-89EF-89AB-CDEF01234567");
}

TEST(Guid, ParseReadsItsOwnTextBack) {
    for (int i = 0; i < 20; ++i) {
        const Guid original = Guid::Generate();
        Guid parsed;
        ASSERT_TRUE(Guid::Parse(Text(original).c_str(), parsed));
        EXPECT_EQ(parsed, original);
    }
}

TEST(Guid, ParseAcceptsLowerCaseAndBraces) {
    Guid upper;
    Guid braced;
    ASSERT_TRUE(Guid::Parse("0123ABCD-4567-89EF-89AB-CDEF01234567", upper));
    ASSERT_TRUE(Guid::Parse("{0123abcd-4567-89ef-89ab-cdef01234567}", braced));
    EXPECT_EQ(upper, braced);
    EXPECT_EQ(upper.data1, 0x0123ABCDu);
    EXPECT_EQ(upper.data4[7], 0x67);
}

TEST(Guid, ParseRejectsAnythingElseAndGivesTheNullGuid) {
    const char* bad[] = {
        "",
        "0123ABCD-4567-89EF-89AB-CDEF0123456",    // one digit short
        "0123ABCD-4567-89EF-89AB-CDEF012345678",  // one digit long
        "0123ABCD-4567-89EF-89AB_CDEF01234567",   // wrong separator
        "0123ABCD4567-89EF-89AB-CDEF01234567-",   // dash moved
        "0123ABCG-4567-89EF-89AB-CDEF01234567",   // not hex
        "{0123ABCD-4567-89EF-89AB-CDEF01234567",  // unbalanced brace
        "(0123ABCD-4567-89EF-89AB-CDEF01234567)", // wrong brackets
        "+123ABCD-4567-89EF-89AB-CDEF01234567",   // sign
    };
    for (const char* text : bad) {
        Guid result = Guid::Generate();
        EXPECT_FALSE(Guid::Parse(text, result)) << text;
        EXPECT_TRUE(result.IsNull()) << text;
    }
    Guid result = Guid::Generate();
    EXPECT_FALSE(Guid::Parse(nullptr, result));
    EXPECT_TRUE(result.IsNull());
}

TEST(Guid, EqualityLooksAtEveryByte) {
    const UInt8 tail[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const Guid guid(1, 2, 3, tail);
    UInt8 otherTail[8] = {1, 2, 3, 4, 5, 6, 7, 9};
    EXPECT_NE(guid, Guid(1, 2, 3, otherTail));
    EXPECT_NE(guid, Guid(1, 2, 4, tail));
    EXPECT_EQ(guid, Guid(1, 2, 3, tail));
}
