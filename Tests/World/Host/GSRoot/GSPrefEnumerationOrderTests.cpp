// One expectation for both registries: subkeys enumerate in Windows' order (by the code units of the
// upper-cased names), whether GSPref is the Windows registry or the store files elsewhere. The same
// source runs in both test runs.

#include "GSPref.hpp"
#include "HostTestSupport.hpp"
#include "Wine.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* OrderKey = "Software\\VELDTests\\EnumerationOrder";

// A fresh store folder where the registry is files; on Windows (where the folder is ignored) the
// test key is removed before and after, since the registry outlives the test.
class EnumerationOrder : public ::testing::Test {
protected:
    EnumerationOrder() {
        GSPref::SetStoreFolder(folder.Utf8().c_str());
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, "Software\\VELDTests"));
    }
    ~EnumerationOrder() override {
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, "Software\\VELDTests"));
        GSPref::SetStoreFolder("");
    }

    static void MakeSubKey(const std::string& name) {
        const std::string key = std::string(OrderKey) + "\\" + name;
        ASSERT_EQ(GSPref::WriteStringValue(GSPref::RootKeyDomain::CurrentUser, key.c_str(), "Marker", "x"),
                  NoError)
            << name;
    }

    static std::vector<std::string> Enumerate() {
        class Collector : public GSPref::SubKeyVisitor {
        public:
            explicit Collector(std::vector<std::string>& target) : names(target) {}
            void operator()(const GS::UniString& name) const override {
                names.push_back(name.ToUTF8().Get());
            }

        private:
            std::vector<std::string>& names;
        };
        std::vector<std::string> names;
        GSPref::IRoot* root = GSPref::OpenRootKey(GSPref::RootKeyDomain::CurrentUser, OrderKey);
        EXPECT_NE(root, nullptr);
        if (root != nullptr) {
            EXPECT_EQ(root->EnumerateSubKeys("", Collector(names)), NoError);
            GSPref::CloseRootKey(&root);
        }
        return names;
    }

    HostTestSupport::TempFolder folder;
};

} // namespace

TEST_F(EnumerationOrder, LettersSortWithoutRegardToCaseAndDigitsComeFirst) {
    for (const char* name : {"beta", "Alpha", "alpha2", "Zulu", "zebra", "10", "9"}) {
        MakeSubKey(name);
    }
    const std::vector<std::string> expected = {"10", "9", "Alpha", "alpha2", "beta", "zebra", "Zulu"};
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(EnumerationOrder, VersionNumbersSortAsTextNotAsNumbers) {
    // The locator takes installations in this order: "10.0" before "9.1", as Windows lists them.
    for (const char* name : {"9.1", "23.1", "10.0", "23"}) {
        MakeSubKey(name);
    }
    const std::vector<std::string> expected = {"10.0", "23", "23.1", "9.1"};
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(EnumerationOrder, NonAsciiLettersSortAfterAsciiByTheirUpperCase) {
    for (const char* name : {"\xC3\xA4pfel", "Zoo", "\xC3\xA9t\xC3\xA9", "Apfel"}) {
        MakeSubKey(name);
    }
    // Upper-cased: APFEL, ZOO, ÄPFEL (U+00C4), ÉTÉ (U+00C9).
    const std::vector<std::string> expected = {"Apfel", "Zoo", "\xC3\xA4pfel", "\xC3\xA9t\xC3\xA9"};
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(EnumerationOrder, PunctuationBetweenTheCasesSortsAfterTheLetters) {
    // '[' and '_' lie between 'Z' and 'a': compared upper-cased they follow every letter. A registry
    // that compared lower-cased names would put them first, and Wine's does.
    if (TestSupport::RunsUnderWine()) {
        GTEST_SKIP() << "Wine's registry sorts subkeys by their lower-cased names: '[' and '_' come first";
    }
    for (const char* name : {"a_b", "ab", "_under", "[bracket", "Zulu"}) {
        MakeSubKey(name);
    }
    const std::vector<std::string> expected = {"ab", "a_b", "Zulu", "[bracket", "_under"};
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(EnumerationOrder, ASubKeyWrittenLaterTakesItsSortedPlace) {
    for (const char* name : {"b", "d"}) {
        MakeSubKey(name);
    }
    MakeSubKey("C");
    MakeSubKey("a");
    const std::vector<std::string> expected = {"a", "b", "C", "d"};
    EXPECT_EQ(Enumerate(), expected);
}
