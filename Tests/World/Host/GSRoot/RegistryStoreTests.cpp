#include "RegistryStore.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace GS::RegistryStore;

namespace {

ParseResult ParseText(const std::string& text) {
    return Parse(text.data(), text.size(), "HKEY_LOCAL_MACHINE", "LocalMachine.reg");
}

Hive ParseOk(const std::string& text) {
    ParseResult result = ParseText(text);
    EXPECT_TRUE(result.ok) << result.error;
    return std::move(result.hive);
}

const Key& KeyAt(const Hive& hive, const char* path) {
    const Key* key = FindKey(hive.root, SplitKeyPath(path));
    EXPECT_NE(key, nullptr) << path;
    static const Key missing;
    return key != nullptr ? *key : missing;
}

std::vector<std::u16string> SubKeyNames(const Key& key) {
    std::vector<std::u16string> names;
    for (const Key& subKey : key.subKeys) {
        names.push_back(subKey.name);
    }
    return names;
}

Value StringValue(std::u16string name, std::u16string text) {
    Value value;
    value.name = std::move(name);
    value.type = StringType;
    value.text = std::move(text);
    return value;
}

Value BytesValue(std::u16string name, UInt32 type, std::vector<UInt8> bytes) {
    Value value;
    value.name = std::move(name);
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

bool SameKey(const Key& left, const Key& right) {
    if (left.name != right.name || left.values.size() != right.values.size() ||
        left.subKeys.size() != right.subKeys.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.values.size(); ++i) {
        const Value& a = left.values[i];
        const Value& b = right.values[i];
        if (a.name != b.name || a.type != b.type || a.text != b.text || a.bytes != b.bytes) {
            return false;
        }
    }
    for (std::size_t i = 0; i < left.subKeys.size(); ++i) {
        if (!SameKey(left.subKeys[i], right.subKeys[i])) {
            return false;
        }
    }
    return true;
}

const char* const InstalledTwice = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                                   "\r\n"
                                   "; written by an installer\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023]\r\n"
                                   "\"InstallDir\"=\"C:\\\\Program Files\\\\VELD 2023\"\r\n"
                                   "\r\n"
                                   "[hkey_local_machine\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2024]\r\n"
                                   "@=\"default text\"\r\n"
                                   "\"InstallDir\"=\"/opt/VELD \\\"2024\\\"\"\r\n"
                                   "\"Build\"=dword:0000002a\r\n"
                                   "\"Blob\"=hex:01,02,\\\r\n"
                                   "  ff\r\n"
                                   "\"Paths\"=hex(7):41,00,00,00,00,00\r\n";

} // namespace

TEST(RegistryStoreParse, ReadsAnExportedFile) {
    const Hive hive = ParseOk(InstalledTwice);
    const Key& installer = KeyAt(hive, "SOFTWARE\\VELD\\Installer\\VeldEngineer");
    EXPECT_EQ(SubKeyNames(installer), (std::vector<std::u16string>{u"2023", u"2024"}));

    const Key& v2023 = KeyAt(hive, "SOFTWARE\\VELD\\Installer\\VeldEngineer\\2023");
    ASSERT_NE(v2023.FindValue(u"InstallDir"), nullptr);
    EXPECT_EQ(v2023.FindValue(u"InstallDir")->text, u"C:\\Program Files\\VELD 2023");

    const Key& v2024 = KeyAt(hive, "software\\veld\\installer\\veldengineer\\2024");
    ASSERT_EQ(v2024.values.size(), 5u);
    EXPECT_EQ(v2024.FindValue(u"")->text, u"default text");
    EXPECT_EQ(v2024.FindValue(u"installdir")->text, u"/opt/VELD \"2024\"");
    EXPECT_EQ(v2024.FindValue(u"Build")->type, DWordType);
    EXPECT_EQ(v2024.FindValue(u"Build")->bytes, (std::vector<UInt8>{0x2a, 0, 0, 0}));
    EXPECT_EQ(v2024.FindValue(u"Blob")->type, BinaryType);
    EXPECT_EQ(v2024.FindValue(u"Blob")->bytes, (std::vector<UInt8>{1, 2, 0xff}));
    EXPECT_EQ(v2024.FindValue(u"Paths")->type, 7u);
    EXPECT_EQ(v2024.FindValue(u"Paths")->bytes, (std::vector<UInt8>{0x41, 0, 0, 0, 0, 0}));
}

TEST(RegistryStoreParse, EmptyFilesAreEmptyHives) {
    for (const std::string& text : {std::string(), std::string("\xEF\xBB\xBF"),
                                    std::string("Windows Registry Editor Version 5.00\n")}) {
        const Hive hive = ParseOk(text);
        EXPECT_TRUE(hive.root.subKeys.empty());
        EXPECT_TRUE(hive.root.values.empty());
    }
}

TEST(RegistryStoreParse, LaterValuesReplaceEarlierOnesOfTheSameName) {
    const Hive hive = ParseOk("Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_LOCAL_MACHINE\\K]\n\"Name\"=\"first\"\n"
                              "[HKEY_LOCAL_MACHINE\\k]\n\"NAME\"=dword:1\n");
    const Key& key = KeyAt(hive, "K");
    ASSERT_EQ(key.values.size(), 1u);
    EXPECT_EQ(key.values[0].name, u"Name");
    EXPECT_EQ(key.values[0].type, DWordType);
}

TEST(RegistryStoreParse, Hex1IsAUtf16String) {
    const Hive hive = ParseOk("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\K]\n"
                              "\"Text\"=hex(1):61,00,0a,00,e4,00,00,00\n");
    const Value* value = KeyAt(hive, "K").FindValue(u"Text");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, StringType);
    EXPECT_EQ(value->text, u"a\nä");
}

TEST(RegistryStoreOrder, SubKeysEnumerateSortedByTheirUpperCasedNames) {
    Key key;
    for (const char16_t* name : {u"b", u"A", u"a1", u"Z", u"_x", u"ä", u"B2", u"a"}) {
        key.MakeSubKey(name);
    }
    EXPECT_EQ(SubKeyNames(key), (std::vector<std::u16string>{u"A", u"a1", u"b", u"B2", u"Z", u"_x", u"ä"}));
}

TEST(RegistryStoreOrder, ParsedKeysAreSortedWhateverTheFileOrder) {
    const Hive hive = ParseOk("Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_LOCAL_MACHINE\\R\\b]\n[HKEY_LOCAL_MACHINE\\R\\Z]\n"
                              "[HKEY_LOCAL_MACHINE\\R\\a1]\n[HKEY_LOCAL_MACHINE\\R\\A]\n");
    EXPECT_EQ(SubKeyNames(KeyAt(hive, "R")), (std::vector<std::u16string>{u"A", u"a1", u"b", u"Z"}));
}

// Sections of one key may come in any order and case, and more than once: the first spelling names
// the key, the values of every section land on it, and many unsorted siblings give the same hive
// as the same siblings sorted.
TEST(RegistryStoreOrder, SectionsInAnyOrderAndCaseMakeOneHive) {
    const Hive hive = ParseOk("Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_LOCAL_MACHINE\\R\\A\\b]\n\"One\"=\"1\"\n"
                              "[hkey_local_machine\\r\\a]\n\"Two\"=\"2\"\n"
                              "[HKEY_LOCAL_MACHINE\\R\\a\\B]\n\"one\"=\"3\"\n\"Four\"=\"4\"\n");
    ASSERT_EQ(hive.root.subKeys.size(), 1u);
    const Key& a = hive.root.subKeys[0].subKeys.at(0);
    EXPECT_EQ(a.name, u"A");
    ASSERT_EQ(a.values.size(), 1u);
    const Key& b = a.subKeys.at(0);
    EXPECT_EQ(b.name, u"b");
    ASSERT_EQ(b.values.size(), 2u);
    EXPECT_EQ(b.values[0].name, u"One");
    EXPECT_EQ(b.values[0].text, u"3");

    std::string shuffled = "Windows Registry Editor Version 5.00\n\n";
    constexpr int Count = 3000;
    for (int index = 0; index < Count; ++index) {
        // 7 and 3000 share no factor: every number once, far from sorted.
        const std::string number = std::to_string((index * 7) % Count);
        shuffled += "[HKEY_LOCAL_MACHINE\\Many\\K" + number + "]\n\"V\"=\"" + number + "\"\n";
    }
    const Hive fromShuffled = ParseOk(shuffled);
    const std::vector<Key>& many = fromShuffled.root.subKeys.at(0).subKeys;
    ASSERT_EQ(many.size(), static_cast<std::size_t>(Count));
    EXPECT_TRUE(std::is_sorted(many.begin(), many.end(), [](const Key& left, const Key& right) {
        return CompareKeyNames(left.name, right.name) < 0;
    }));
    for (const Key& key : many) {
        ASSERT_EQ(key.values.size(), 1u);
        EXPECT_EQ(key.values[0].text, key.name.substr(1));
    }
}

TEST(RegistryStoreNames, KeyAndValueNamesMatchWithoutCaseAndKeepTheirFirstCase) {
    Key root;
    Key& veld = MakeKey(root, SplitKeyPath("SOFTWARE\\VELD"));
    EXPECT_EQ(&MakeKey(root, SplitKeyPath("software\\veld")), &veld);
    EXPECT_EQ(root.subKeys.size(), 1u);
    EXPECT_EQ(root.subKeys[0].subKeys[0].name, u"VELD");

    veld.SetValue(StringValue(u"InstallDir", u"old"));
    veld.SetValue(StringValue(u"INSTALLDIR", u"new"));
    ASSERT_EQ(veld.values.size(), 1u);
    EXPECT_EQ(veld.values[0].name, u"InstallDir");
    EXPECT_EQ(veld.values[0].text, u"new");
    EXPECT_TRUE(veld.RemoveValue(u"installdir"));
    EXPECT_TRUE(veld.values.empty());
    EXPECT_TRUE(root.subKeys[0].RemoveSubKey(u"veLD"));
    EXPECT_FALSE(root.subKeys[0].RemoveSubKey(u"VELD"));
}

// Values are found through an index of their names: every change (add, replace, remove from the
// start, middle or end, add again) must leave each remaining value found, in any case, with its own
// data, and the values still in the order they were made.
TEST(RegistryStoreNames, EveryValueIsFoundByNameAfterEachChange) {
    const std::vector<std::u16string> made{u"Zeta", u"alpha", u"Mu", u"BETA", u"omega", u"Kappa"};
    const struct {
        const char* what;
        std::vector<std::u16string> removed;
        std::vector<std::u16string> addedAfter;
    } cases[] = {
        {"nothing removed", {}, {}},
        {"the first removed", {u"zeta"}, {}},
        {"one in the middle removed", {u"MU"}, {}},
        {"the last removed", {u"kappa"}, {}},
        {"two removed, one made again", {u"Alpha", u"OMEGA"}, {u"alpha"}},
        {"all removed, then one made", {u"zeta", u"alpha", u"mu", u"beta", u"omega", u"kappa"}, {u"New"}},
    };
    for (const auto& [what, removed, addedAfter] : cases) {
        Key key;
        for (const std::u16string& name : made) {
            key.SetValue(StringValue(name, u"text of " + name));
        }
        std::vector<std::u16string> expected = made;
        for (const std::u16string& name : removed) {
            EXPECT_TRUE(key.RemoveValue(name)) << what;
            EXPECT_FALSE(key.RemoveValue(name)) << what << ": removed twice";
            std::erase_if(expected, [&](const std::u16string& kept) { return NamesMatch(kept, name); });
        }
        for (const std::u16string& name : addedAfter) {
            key.SetValue(StringValue(name, u"text of " + name));
            expected.push_back(name);
        }
        std::vector<std::u16string> order;
        for (const Value& value : key.values) {
            order.push_back(value.name);
        }
        EXPECT_EQ(order, expected) << what;
        for (const std::u16string& name : made) {
            std::u16string upper = name;
            std::transform(upper.begin(), upper.end(), upper.begin(),
                           [](char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - 32 : unit; });
            const Value* found = key.FindValue(upper);
            const bool kept = std::find(expected.begin(), expected.end(), name) != expected.end();
            ASSERT_EQ(found != nullptr, kept) << what;
            if (found != nullptr) {
                EXPECT_EQ(found->text, u"text of " + name) << what;
            }
        }
    }
}

// A hive read from a file finds each of many values of one key, listed in no order, and keeps the
// last data of a name given twice.
TEST(RegistryStoreParse, ManyValuesOfOneKeyAreEachFound) {
    constexpr int Count = 3000;
    std::string text = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\n";
    for (int index = 0; index < Count; ++index) {
        const int number = (index * 7919) % Count; // every number once, out of order
        text += "\"Value" + std::to_string(number) + "\"=\"" + std::to_string(number) + "\"\n";
    }
    text += "\"VALUE17\"=\"again\"\n";
    const Hive hive = ParseOk(text);
    const Key& key = KeyAt(hive, "SOFTWARE\\VELD");
    ASSERT_EQ(key.values.size(), static_cast<std::size_t>(Count));
    for (int number = 0; number < Count; ++number) {
        const std::string name = "value" + std::to_string(number);
        const Value* found = key.FindValue(std::u16string(name.begin(), name.end()));
        ASSERT_NE(found, nullptr) << name;
        const std::string data = number == 17 ? "again" : std::to_string(number);
        EXPECT_EQ(found->text, std::u16string(data.begin(), data.end())) << name;
    }
    EXPECT_EQ(key.FindValue(u"Value3000"), nullptr);
}

TEST(RegistryStorePaths, EmptyComponentsAreSkipped) {
    EXPECT_EQ(SplitKeyPath("\\A\\\\B\\"), (std::vector<std::u16string>{u"A", u"B"}));
    EXPECT_TRUE(SplitKeyPath("").empty());
    EXPECT_EQ(SplitKeyPath("Ä\\ö"), (std::vector<std::u16string>{u"Ä", u"ö"}));
}

TEST(RegistryStoreWrite, WritesTheExportFormat) {
    Hive hive;
    hive.root.name = u"HKEY_LOCAL_MACHINE";
    Key& key = MakeKey(hive.root, SplitKeyPath("SOFTWARE\\VELD"));
    key.SetValue(StringValue(u"", u"default"));
    key.SetValue(StringValue(u"Path", u"C:\\VELD \"x\""));
    key.SetValue(BytesValue(u"Count", DWordType, {0x2a, 0, 0, 0}));
    key.SetValue(BytesValue(u"Blob", BinaryType, {0x00, 0x7f, 0xff}));
    MakeKey(hive.root, SplitKeyPath("SOFTWARE\\VELD\\Empty"));
    EXPECT_EQ(Write(hive), "Windows Registry Editor Version 5.00\n"
                           "\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                           "\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD]\n"
                           "@=\"default\"\n"
                           "\"Path\"=\"C:\\\\VELD \\\"x\\\"\"\n"
                           "\"Count\"=dword:0000002a\n"
                           "\"Blob\"=hex:00,7f,ff\n"
                           "\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Empty]\n"
                           "\n");
}

TEST(RegistryStoreWrite, LongByteListsWrapWithContinuations) {
    Hive hive;
    hive.root.name = u"HKEY_LOCAL_MACHINE";
    std::vector<UInt8> bytes(100);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<UInt8>(i);
    }
    MakeKey(hive.root, SplitKeyPath("K")).SetValue(BytesValue(u"Data", BinaryType, bytes));
    const std::string text = Write(hive);
    std::size_t lineStart = 0;
    int continuations = 0;
    while (lineStart < text.size()) {
        const std::size_t lineEnd = text.find('\n', lineStart);
        EXPECT_LE(lineEnd - lineStart, 80u);
        continuations += text.compare(lineEnd - 1, 1, "\\") == 0 ? 1 : 0;
        lineStart = lineEnd + 1;
    }
    EXPECT_GE(continuations, 3);
    const Hive back = ParseOk(text);
    EXPECT_EQ(KeyAt(back, "K").FindValue(u"Data")->bytes, bytes);
}

TEST(RegistryStoreWrite, EveryKindOfValueSurvivesAWriteAndARead) {
    Hive hive;
    hive.root.name = u"HKEY_LOCAL_MACHINE";
    hive.root.SetValue(StringValue(u"at the top", u"hive values get a section of their own"));
    Key& key = MakeKey(hive.root, SplitKeyPath("SOFTWARE\\VELD\\Ünïcödé \"key\" [1]"));
    key.SetValue(StringValue(u"", u"default"));
    key.SetValue(StringValue(u"quotes \"and\" \\slashes\\", u"\\\\server\\share \"quoted\" \\"));
    key.SetValue(StringValue(u"lines", u"first\r\nsecond\ttab"));
    key.SetValue(StringValue(u"lone surrogate", u"a\xD800z"));
    key.SetValue(StringValue(u"astral", u"\xD83D\xDE00 Ελληνικά 日本"));
    key.SetValue(StringValue(u"empty", u""));
    key.SetValue(BytesValue(u"dword", DWordType, {0xff, 0xff, 0xff, 0xff}));
    key.SetValue(BytesValue(u"short dword", DWordType, {1, 2}));
    key.SetValue(BytesValue(u"binary", BinaryType, {}));
    key.SetValue(BytesValue(u"qword", 0xb, {1, 2, 3, 4, 5, 6, 7, 8}));
    key.SetValue(BytesValue(u"expand", 2, {0x25, 0, 0x41, 0, 0x25, 0, 0, 0}));
    MakeKey(hive.root, SplitKeyPath("SOFTWARE\\b\\c"));

    const Hive back = ParseOk(Write(hive));
    EXPECT_TRUE(SameKey(back.root, hive.root)) << Write(hive);
    EXPECT_EQ(Write(back), Write(hive));
}
