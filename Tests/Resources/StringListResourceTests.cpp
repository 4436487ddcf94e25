#include "ByteOrder/LittleEndian.hpp"
#include "ResFormat/ResFileReader.hpp"
#include "ResFormat/StringListFormat.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The module's string lists, read back from the .res file that the build links into the module,
// against the texts the add-on and the host's menu expect.
namespace {

std::vector<std::uint8_t> ReadModuleResFile() {
    std::ifstream stream(VELD_RESOURCE_FILE, std::ios::binary);
    EXPECT_TRUE(stream.good()) << VELD_RESOURCE_FILE;
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

class ModuleStringLists : public testing::Test {
protected:
    static const ResFormat::ResFileContents& Contents() {
        static const ResFormat::ResFileContents contents = ResFormat::ReadResFile(ReadModuleResFile());
        return contents;
    }

    // The list's bytes; fails the test when the module lacks the list.
    static const std::vector<std::uint8_t>& List(std::uint16_t number) {
        static const std::vector<std::uint8_t> none;
        for (const ResFormat::ResourceEntry& entry : Contents().entries) {
            if (entry.type == ResFormat::ResName::Named(u"STRS") &&
                entry.name == ResFormat::ResName::Ordinal(number)) {
                return entry.data;
            }
        }
        ADD_FAILURE() << "no string list " << number;
        return none;
    }

    static std::vector<std::string> Texts(std::uint16_t number) {
        const ResFormat::StringList list = ResFormat::ParseStringList(List(number));
        EXPECT_FALSE(list.problem.has_value()) << number << ": " << *list.problem;
        return {list.texts.begin(), list.texts.end()};
    }

    static std::uint32_t Count(const std::vector<std::uint8_t>& data) {
        return data.size() < 4 ? 0 : LittleEndian::Read32(data.data());
    }
};

TEST_F(ModuleStringLists, ModuleHoldsExactlyTheFourListsInLanguage1033) {
    ASSERT_FALSE(Contents().problem.has_value()) << Contents().problem->message;
    std::vector<std::uint16_t> numbers;
    for (const ResFormat::ResourceEntry& entry : Contents().entries) {
        if (entry.type != ResFormat::ResName::Named(u"STRS")) {
            continue;
        }
        EXPECT_EQ(entry.language, 1033);
        ASSERT_TRUE(entry.name.IsOrdinal());
        numbers.push_back(entry.name.GetOrdinal());
    }
    EXPECT_EQ(numbers, (std::vector<std::uint16_t>{32000, 32300, 32500, 32600}));
}

TEST_F(ModuleStringLists, SizesCountsAndClosingNuls) {
    const std::vector<std::pair<std::uint16_t, std::size_t>> sizes = {
        {32000, 90}, {32300, 731}, {32500, 123}, {32600, 87}};
    for (const auto& [number, size] : sizes) {
        const std::vector<std::uint8_t>& data = List(number);
        EXPECT_EQ(data.size(), size) << number;
        EXPECT_EQ(Count(data), size - 4) << number;
        ASSERT_FALSE(data.empty());
        EXPECT_EQ(data.back(), 0) << number;
    }
}

TEST_F(ModuleStringLists, DescriptionGivesTheSameNameTwice) {
    EXPECT_EQ(Texts(32000), (std::vector<std::string>{"VELD Engineer In-Out: Export/Import add-on",
                                                      "VELD Engineer In-Out: Export/Import add-on"}));
}

TEST_F(ModuleStringLists, MessagesInTheOrderTheAlertsAskForThem) {
    EXPECT_EQ(
        Texts(32300),
        (std::vector<std::string>{
            "OK",
            "No supported VELD Engineer version available.",
            "Please make sure you have installed VELD Engineer (version xx or above).",
            "Could not save SAF file.",
            "Please make sure the SAF add-on is available, and/or that you have permission to save to the "
            "selected folder.",
            "VELD Engineer was unable to open the SAF file.",
            "You might not have permission to use VELD Engineer. Please check with your administrator.",
            "Select translator",
            "The model could not be opened in VELD Engineer. Please check the followings, then try again:",
            "- VELD Engineer Export Settings",
            "VELD Engineer Export Settings...",
            "Cancel",
            // texts added after the first twelve, whose indexes stay as they are
            "The chosen translator could not be stored in the project.",
            "The project keeps the choice it had, if any. Try OK again, or choose Cancel to leave it so.",
        }));
}

TEST_F(ModuleStringLists, MenuItemsCarryTheMenuCodesAndTheTitleNone) {
    EXPECT_EQ(Texts(32500), (std::vector<std::string>{"VELD Engineer Connection",
                                                      "Open in VELD Engineer...^ES^E3^ED^EM^10001",
                                                      "VELD Engineer Export Settings...^ES^E3^ED^EM^10001"}));
}

TEST_F(ModuleStringLists, EachPromptIsItsMenuEntryWithoutTheCodes) {
    const std::vector<std::string> prompts = Texts(32600);
    EXPECT_EQ(prompts, (std::vector<std::string>{"VELD Engineer Connection", "Open in VELD Engineer...",
                                                 "VELD Engineer Export Settings..."}));
    const std::vector<std::string> menu = Texts(32500);
    ASSERT_EQ(menu.size(), prompts.size());
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].substr(0, menu[i].find('^')), prompts[i]);
    }
}

TEST_F(ModuleStringLists, EveryTextIsNonEmptySevenBitAscii) {
    for (std::uint16_t number : std::vector<std::uint16_t>{32000, 32300, 32500, 32600}) {
        for (const std::string& text : Texts(number)) {
            EXPECT_FALSE(text.empty()) << number;
            for (char c : text) {
                EXPECT_LT(static_cast<unsigned char>(c), 0x80) << number << ": " << text;
            }
        }
    }
}

} // namespace
