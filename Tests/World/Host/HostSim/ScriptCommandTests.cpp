#include "Screen/CommandSource.hpp"
#include "Screen/ScriptCommand.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace HostSim;

namespace {

MenuPick PickOf(const std::string& line) {
    ParsedLine parsed = ParseScriptLine(line);
    EXPECT_FALSE(parsed.IsError()) << parsed.error;
    EXPECT_TRUE(parsed.command.has_value());
    return std::get<MenuPick>(*parsed.command);
}

std::string ErrorOf(const std::string& line) {
    ParsedLine parsed = ParseScriptLine(line);
    EXPECT_FALSE(parsed.command.has_value());
    return parsed.error;
}

} // namespace

TEST(ScriptCommandTests, BlankLinesAndCommentsAreNothingToDo) {
    for (const char* line : {"", "   ", "\t", "# a comment", "   # indented comment", "\r"}) {
        ParsedLine parsed = ParseScriptLine(line);
        EXPECT_FALSE(parsed.IsError()) << line;
        EXPECT_FALSE(parsed.command.has_value()) << line;
    }
}

TEST(ScriptCommandTests, MenuPickReadsListAndItem) {
    MenuPick pick = PickOf("menu 32500 1");
    EXPECT_EQ(pick.list, 32500);
    EXPECT_EQ(pick.item, 1);
    EXPECT_FALSE(pick.deliverTo.has_value());
}

TEST(ScriptCommandTests, MenuPickToleratesExtraBlanksTrailingCommentAndCarriageReturn) {
    MenuPick pick = PickOf("  menu\t32500   2   # export settings\r");
    EXPECT_EQ(pick.list, 32500);
    EXPECT_EQ(pick.item, 2);
}

TEST(ScriptCommandTests, ProbeFormNamesTheHandlerListSeparately) {
    MenuPick pick = PickOf("menu 32600 1 to 32500");
    EXPECT_EQ(pick.list, 32600);
    EXPECT_EQ(pick.item, 1);
    ASSERT_TRUE(pick.deliverTo.has_value());
    EXPECT_EQ(*pick.deliverTo, 32500);
}

TEST(ScriptCommandTests, NegativeItemsAreValidNumbersForTheHandlerToJudge) {
    EXPECT_EQ(PickOf("menu -1 -7").item, -7);
    EXPECT_EQ(PickOf("menu -1 -7").list, -1);
}

TEST(ScriptCommandTests, MenuWithWrongShapeOrNumbersIsAnError) {
    EXPECT_NE(ErrorOf("menu 32500").find("menu LIST ITEM"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 32500 1 2").find("menu LIST ITEM"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 32500 1 via 3").find("menu LIST ITEM"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 40000 1").find("16-bit"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 32500 x").find("32-bit"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 32500 1 to 99999").find("16-bit"), std::string::npos);
    EXPECT_NE(ErrorOf("menu 0x7D 1").find("16-bit"), std::string::npos);
}

TEST(ScriptCommandTests, QuitTakesNoArguments) {
    ParsedLine parsed = ParseScriptLine("quit");
    ASSERT_TRUE(parsed.command.has_value());
    EXPECT_TRUE(std::holds_alternative<Quit>(*parsed.command));
    EXPECT_FALSE(ErrorOf("quit now").empty());
}

TEST(ScriptCommandTests, UnknownWordsAreErrorsNamingTheWord) {
    EXPECT_EQ(ErrorOf("menue 32500 1"),
              "unknown command \"menue\" (the commands: menu LIST ITEM, save, quit, help)");
    EXPECT_EQ(ErrorOf("MENU 32500 1"),
              "unknown command \"MENU\" (the commands: menu LIST ITEM, save, quit, help)");
}

TEST(ScriptCommandTests, DialogAndAlertWordsAreKeptForTheScreenToJudge) {
    ParsedLine parsed = ParseScriptLine("button 1");
    ASSERT_TRUE(parsed.command.has_value());
    const auto& command = std::get<ScreenCommand>(*parsed.command);
    EXPECT_EQ(command.word, "button");
    EXPECT_EQ(command.arguments, std::vector<std::string>{"1"});
}

TEST(CommandSourceTests, CountsLinesAndDropsCarriageReturnsAndTheByteOrderMark) {
    std::istringstream input("\xEF\xBB\xBFmenu 1 1\r\n\r\n# note\nquit");
    CommandSource source(input, "s.txt", nullptr);
    EXPECT_EQ(source.NextLine(), "menu 1 1");
    EXPECT_EQ(source.LineNumber(), 1u);
    EXPECT_EQ(source.NextLine(), "");
    EXPECT_EQ(source.NextLine(), "# note");
    EXPECT_EQ(source.NextLine(), "quit");
    EXPECT_EQ(source.LineNumber(), 4u);
    EXPECT_FALSE(source.NextLine().has_value());
    EXPECT_FALSE(source.IsInteractive());
}

TEST(CommandSourceTests, TerminalShowsAPromptBeforeEveryLine) {
    std::istringstream input("quit\n");
    std::ostringstream prompt;
    CommandSource source(input, "terminal", &prompt);
    EXPECT_EQ(source.NextLine(), "quit");
    EXPECT_FALSE(source.NextLine().has_value());
    EXPECT_EQ(prompt.str(), "hostsim> hostsim> ");
    EXPECT_TRUE(source.IsInteractive());
}
