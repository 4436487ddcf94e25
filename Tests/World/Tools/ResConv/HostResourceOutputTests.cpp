#include "ByteOrder/LittleEndian.hpp"
#include "CompileHelpers.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The host's own types as ResConv writes them, read back with the .res reader and compared with
// bytes built here from the record layouts: the 32-bit count of the rest, 16-bit words, NUL-ended
// texts, nothing aligned.
namespace {

using ResConvTest::CompileAndReadBack;
using ResFormat::ResName;

class Bytes {
public:
    Bytes& Word(std::uint16_t value) {
        LittleEndian::Append16(bytes, value);
        return *this;
    }
    Bytes& Words(std::initializer_list<std::uint16_t> values) {
        for (std::uint16_t value : values) {
            Word(value);
        }
        return *this;
    }
    Bytes& Text(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        return *this;
    }
    // The resource: the count of these bytes, then the bytes.
    std::vector<std::uint8_t> Framed() const {
        std::vector<std::uint8_t> framed;
        LittleEndian::Append32(framed, static_cast<std::uint32_t>(bytes.size()));
        framed.insert(framed.end(), bytes.begin(), bytes.end());
        return framed;
    }

private:
    std::vector<std::uint8_t> bytes;
};

const std::string EveryKindOfItem = "resource GSDG 7 language 1033\n"
                                    "dialog 4 0 0 0 360 150 \"T\"\n"
                                    "button 1 7 255 117 90 23 0 0 \"OK\"\n"
                                    "checkbox 2 1 15 95 330 23 0 \"C\"\n"
                                    "popup 3 0 15 35 230 100 23 3 0\n"
                                    "lefttext 4 0x0400 40 5 305 23 0 16 \"L\"\n"
                                    "separator 5 0 15 105 330 2\n"
                                    "icon 6 0 15 10 18 18 0 32700\n";

TEST(DialogLayoutOutput, EveryKindWritesItsTypeCodeAndFurtherWords) {
    const auto entries = CompileAndReadBack({{"d.rsrc", EveryKindOfItem}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, ResName::Named(u"GSDG"));
    EXPECT_EQ(entries[0].name, ResName::Ordinal(7));
    const std::vector<std::uint8_t> expected = Bytes()
                                                   .Words({4, 0, 0, 0, 360, 150})
                                                   .Text("T")
                                                   .Word(6)
                                                   .Words({1, 1, 7, 255, 117, 90, 23, 0, 0})
                                                   .Text("OK")
                                                   .Words({2, 2, 1, 15, 95, 330, 23, 0})
                                                   .Text("C")
                                                   .Words({3, 5, 0, 15, 35, 230, 100, 23, 3, 0})
                                                   .Words({4, 13, 0x0400, 40, 5, 305, 23, 0, 16})
                                                   .Text("L")
                                                   .Words({5, 15, 0, 15, 105, 330, 2})
                                                   .Words({6, 16, 0, 15, 10, 18, 18, 0, 32700})
                                                   .Framed();
    EXPECT_EQ(entries[0].data, expected);
    // Header words and size (12), "T" (2) and the count (2), then records of 21, 18, 20, 20, 14 and 18.
    EXPECT_EQ(entries[0].data.size(), 4u + 16 + 21 + 18 + 20 + 20 + 14 + 18);
}

TEST(DialogHelpOutput, HelpNameCountThenNumberEmptyTextAndAnchorPerItem) {
    const auto entries = CompileAndReadBack({{"d.rsrc", "resource GSDG 7 language 1033\n"
                                                        "dialog 4 0 0 0 100 100 \"T\"\n"
                                                        "button 1 7 5 5 90 23 0 0 \"OK\"\n"
                                                        "separator 2 0 5 50 90 2\n"},
                                             {"h.rsrc", "resource DLGH 7 language 1033\n"
                                                        "help \"Dialog_Help\"\n"
                                                        "anchor 1 \"Button_0\"\n"
                                                        "anchor 2 \"Separator_0\"\n"}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].type, ResName::Named(u"DLGH"));
    EXPECT_EQ(entries[1].name, ResName::Ordinal(7));
    EXPECT_EQ(entries[1].data, Bytes()
                                   .Text("Dialog_Help")
                                   .Word(2)
                                   .Word(1)
                                   .Text("")
                                   .Text("Button_0")
                                   .Word(2)
                                   .Text("")
                                   .Text("Separator_0")
                                   .Framed());
}

TEST(ModuleIdentifierOutput, TwoLittleEndianValuesAfterTheirCount) {
    const auto entries = CompileAndReadBack(
        {{"m.rsrc", "resource MDID 32500 language 1033\nvalue 0x33476C2F\nvalue 4133638347\n"}});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, ResName::Named(u"MDID"));
    EXPECT_EQ(entries[0].data,
              (std::vector<std::uint8_t>{0x08, 0, 0, 0, 0x2F, 0x6C, 0x47, 0x33, 0xCB, 0x50, 0x62, 0xF6}));
}

TEST(HostResourceOutput, KindWordsInAnyCaseAreStoredUpperCaseWithUserTypeFlags) {
    const auto entries = CompileAndReadBack(
        {{"d.rsrc", "resource gsdg 1 language 1033\ndialog 4 0 0 0 10 10 \"\"\nseparator 1 0 0 0 10 2\n"},
         {"m.rsrc", "resource Mdid 2 language 1033\nvalue 0\nvalue 0\n"}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].type, ResName::Named(u"GSDG"));
    EXPECT_EQ(entries[1].type, ResName::Named(u"MDID"));
    EXPECT_EQ(entries[0].memoryFlags, 0x0030);
    EXPECT_EQ(entries[1].memoryFlags, 0x0030);
}

} // namespace
