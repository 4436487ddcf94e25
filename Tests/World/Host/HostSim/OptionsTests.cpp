#include "Services/FaultPlan.hpp"
#include "Services/ResultCode.hpp"
#include "Session/Options.hpp"

#include <gtest/gtest.h>

using namespace HostSim;

namespace {

HostSimOptions Parse(const std::vector<std::string>& arguments) {
    OptionsParse parsed = ParseHostSimOptions(arguments);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(HostSimOptions{});
}

std::string ErrorOf(const std::vector<std::string>& arguments) {
    OptionsParse parsed = ParseHostSimOptions(arguments);
    EXPECT_FALSE(parsed.options.has_value());
    return parsed.error;
}

} // namespace

TEST(OptionsTests, ModulesAndPathsAreTakenInOrder) {
    HostSimOptions options = Parse({"--home", "/tmp/h", "a.apx", "--transcript", "t.jsonl", "b.apx",
                                    "--script", "s.txt", "--addons", "dir"});
    EXPECT_EQ(options.modules, (std::vector<std::string>{"a.apx", "b.apx"}));
    EXPECT_EQ(options.home, "/tmp/h");
    EXPECT_EQ(options.transcript, "t.jsonl");
    EXPECT_EQ(options.script, "s.txt");
    EXPECT_EQ(options.addonsFolder, "dir");
    EXPECT_FALSE(options.noRelease);
    EXPECT_FALSE(options.entryBeforeTable);
}

TEST(OptionsTests, FlagsSwitchOnlyTheirOwnBehaviour) {
    HostSimOptions options = Parse({"--no-release"});
    EXPECT_TRUE(options.noRelease);
    EXPECT_FALSE(options.entryBeforeTable);
    EXPECT_TRUE(Parse({"--entry-before-table"}).entryBeforeTable);
}

TEST(OptionsTests, EmptySlotsAcceptShortAndFullOperationNames) {
    HostSimOptions options = Parse({"--empty-slot", "MenuRegister", "--empty-slot", "HostObjectFind"});
    EXPECT_EQ(options.emptySlots,
              (std::set<TableOperation>{TableOperation::MenuRegister, TableOperation::ObjectFind}));
    EXPECT_NE(ErrorOf({"--empty-slot", "MenuRegistr"}).find("unknown operation"), std::string::npos);
}

TEST(OptionsTests, TableFailuresAreNamedByTheFullOperationName) {
    HostSimOptions options = Parse({"--fail", "MenuHandlerInstall=5", "--fail", "GSPref::OpenRootKey=-1@2"});
    ASSERT_EQ(options.failRules.size(), 2u);
    EXPECT_EQ(options.failRules[0].operation, "HostMenuHandlerInstall");
    EXPECT_EQ(options.failRules[0].code, 5);
    EXPECT_FALSE(options.failRules[0].onlyCall.has_value());
    EXPECT_EQ(options.failRules[1].operation, "GSPref::OpenRootKey");
    EXPECT_EQ(options.failRules[1].code, -1);
    EXPECT_EQ(options.failRules[1].onlyCall, 2u);
}

// What an absolute folder looks like here ("/abs" is relative to the drive on Windows).
#ifdef _WIN32
const std::string Root = "C:\\";
#else
const std::string Root = "/";
#endif

TEST(OptionsTests, SpecialFoldersMapNumbersToPaths) {
    HostSimOptions options =
        Parse({"--special-folder", "7=" + Root + "data/out=x", "--special-folder", "-3=" + Root + "abs"});
    EXPECT_EQ(options.specialFolders.at(7), Root + "data/out=x");
    EXPECT_EQ(options.specialFolders.at(-3), Root + "abs");
    EXPECT_EQ(ErrorOf({"--special-folder", "7=--help"}),
              "--special-folder: the folder must be an absolute path, got \"7=--help\"");
    EXPECT_FALSE(ErrorOf({"--special-folder", "7=rel/out"}).empty());
    EXPECT_FALSE(ErrorOf({"--special-folder", "7"}).empty());
    EXPECT_FALSE(ErrorOf({"--special-folder", "seven=" + Root + "x"}).empty());
    EXPECT_FALSE(ErrorOf({"--special-folder", "7="}).empty());
}

TEST(OptionsTests, MistakesAreReportedNotGuessed) {
    EXPECT_EQ(ErrorOf({"--home"}), "--home needs a value");
    EXPECT_EQ(ErrorOf({"--frobnicate"}), "unknown option --frobnicate");
    EXPECT_NE(ErrorOf({"--fail", "MenuRegister"}).find("OP=CODE"), std::string::npos);
    EXPECT_NE(ErrorOf({"--fail", "MenuRegister=five"}).find("not a result code"), std::string::npos);
    EXPECT_NE(ErrorOf({"--fail", "MenuRegister=5@0"}).find("1 or more"), std::string::npos);
    EXPECT_TRUE(ParseHostSimOptions({"a.apx", "--help"}).helpRequested);
}

TEST(ResultCodeTests, HexIsTheUnsignedBitPattern) {
    EXPECT_EQ(ParseResultCode("0x81060387"), static_cast<GSErrCode>(0x81060387u));
    EXPECT_EQ(ParseResultCode("0x81060387"), -2130312313);
    EXPECT_EQ(ParseResultCode("0XFFFFFFFF"), -1);
    EXPECT_FALSE(ParseResultCode("0x100000000").has_value());
    EXPECT_FALSE(ParseResultCode("0x").has_value());
}

TEST(ResultCodeTests, DecimalIsSignedAndBounded) {
    EXPECT_EQ(ParseResultCode("-2130312313"), static_cast<GSErrCode>(0x81060387u));
    EXPECT_EQ(ParseResultCode("+5"), 5);
    EXPECT_EQ(ParseResultCode("2147483647"), INT32_MAX);
    EXPECT_FALSE(ParseResultCode("2147483648").has_value());
    EXPECT_FALSE(ParseResultCode("").has_value());
    EXPECT_FALSE(ParseResultCode("5x").has_value());
    EXPECT_FALSE(ParseResultCode(" 5").has_value());
}

TEST(FaultPlanTests, ARuleWithoutCallNumberFailsEveryCall) {
    FaultPlan plan;
    plan.Add({"HostMenuRegister", 7, std::nullopt});
    EXPECT_EQ(plan.OnCall("HostMenuRegister"), 7);
    EXPECT_EQ(plan.OnCall("HostMenuRegister"), 7);
    EXPECT_EQ(plan.OnCall("HostObjectFind"), std::nullopt);
}

TEST(FaultPlanTests, ANumberedRuleFailsOnlyThatCallOfItsOwnOperation) {
    FaultPlan plan;
    plan.Add({"GSPref::OpenRootKey", -1, 2});
    EXPECT_EQ(plan.OnCall("GSPref::OpenRootKey"), std::nullopt);
    EXPECT_EQ(plan.OnCall("FileExists"), std::nullopt);
    EXPECT_EQ(plan.OnCall("FileExists"), std::nullopt);
    EXPECT_EQ(plan.OnCall("GSPref::OpenRootKey"), -1);
    EXPECT_EQ(plan.OnCall("GSPref::OpenRootKey"), std::nullopt);
    EXPECT_EQ(plan.CallCount("GSPref::OpenRootKey"), 3u);
    EXPECT_EQ(plan.CallCount("FileExists"), 2u);
    EXPECT_EQ(plan.CallCount("DBPrintf"), 0u);
}

TEST(FaultPlanTests, TheFirstMatchingRuleDecides) {
    FaultPlan plan;
    plan.Add({"X", 3, 1});
    plan.Add({"X", 9, std::nullopt});
    EXPECT_EQ(plan.OnCall("X"), 3);
    EXPECT_EQ(plan.OnCall("X"), 9);
}
