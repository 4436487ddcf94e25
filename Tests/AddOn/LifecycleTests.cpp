#include "BoundAddOn.hpp"
#include "EntryPointRecordCheck.hpp"
#include "HostObservers.hpp"
#include "UniStringPrinting.hpp"
#include "UtilityFunctions.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {
constexpr auto MissingSlot = static_cast<GSErrCode>(0x81060387u);

std::vector<unsigned char> MenuRegistrationBytes(Int16 menuList, Int16 promptList, Int32 menuCode,
                                                 Int32 flags) {
    std::vector<unsigned char> bytes(32, 0);
    std::memcpy(bytes.data() + 0, &menuList, 2);
    std::memcpy(bytes.data() + 2, &promptList, 2);
    std::memcpy(bytes.data() + 4, &menuCode, 4);
    std::memcpy(bytes.data() + 8, &flags, 4);
    return bytes;
}
} // namespace

TEST_F(BoundAddOn, WritesTheSameEntryPointRecordOnceBound) {
    ExpectEntryPointRecordOverGarbage();
}

TEST_F(BoundAddOn, DescribeFillsNameAndDescriptionFromTheDescriptionListAndNothingElse) {
    AddOnDescriptionRecord description{};
    description.recordVersion = 1;
    description.reserved0 = 0x0BADF00D;
    std::memset(description.hostData, 0x5A, sizeof(description.hostData));

    EXPECT_EQ(AddOnDescribe(&description), 1);

    const GS::UniString expected("VELD Engineer In-Out: Export/Import add-on");
    EXPECT_EQ(description.name, expected);
    EXPECT_EQ(description.description, expected);
    EXPECT_EQ(description.recordVersion, 1);
    EXPECT_EQ(description.reserved0, 0x0BADF00D);
    for (UInt8 byte : description.hostData) {
        EXPECT_EQ(byte, 0x5A);
    }
    EXPECT_TRUE(host.Calls().empty());
}

// The host's diagnostics name each string lookup by its source file and line, and the host knows the
// add-on's lookups by these: describe's two at lines 56 and 57 of AddOnMain.cpp, every alert text's
// at line 14 of UtilityFunctions.cpp. A change that moves one of them must move this test too.
TEST_F(BoundAddOn, TheHostsDiagnosticsSeeEachStringLookupAtItsAgreedSourceLine) {
    HostLibraryCalls calls;
    AddOnDescriptionRecord description{};
    ASSERT_EQ(AddOnDescribe(&description), 1);
    static_cast<void>(GetResourceString(1));
    static_cast<void>(GetResourceString(-3));
    const std::vector<std::string> lookups = calls.DetailsOf("RSGetIndString_ParamAdapter");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"list=32000 index=1 ", " at=AddOnMain.cpp:56"},
        {"list=32000 index=2 ", " at=AddOnMain.cpp:57"},
        {"list=32300 index=1 ", " at=UtilityFunctions.cpp:14"},
        {"list=32300 index=-3 ", " at=UtilityFunctions.cpp:14"},
    };
    ASSERT_EQ(lookups.size(), expected.size());
    for (std::size_t lookup = 0; lookup < expected.size(); ++lookup) {
        EXPECT_TRUE(lookups[lookup].starts_with(expected[lookup].first)) << lookups[lookup];
        EXPECT_TRUE(lookups[lookup].ends_with(expected[lookup].second)) << lookups[lookup];
    }
}

TEST_F(BoundAddOn, StartKeepsTheTokenUntilReleaseAndReleasingTwiceIsHarmless) {
    EXPECT_EQ(AddOnStart(HostToken()), NoError);
    EXPECT_EQ(GetAddOnToken(), HostToken());
    EXPECT_EQ(AddOnRelease(), NoError);
    EXPECT_EQ(GetAddOnToken(), nullptr);
    EXPECT_EQ(AddOnRelease(), NoError);
    EXPECT_EQ(GetAddOnToken(), nullptr);
}

TEST_F(BoundAddOn, RegisterWithoutAnInstallationAsksTheHostForNothing) {
    EXPECT_EQ(AddOnRegister(nullptr), NoError);
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(BoundAddOn, RegisterWithAnInstallationRegistersTheMenuAndPassesTheHostsAnswerOn) {
    registry.Install("Version 1");
    host.AnswerWith(FakeSlot::MenuRegister, 0x1357);

    EXPECT_EQ(AddOnRegister(nullptr), 0x1357);

    ASSERT_EQ(host.Calls().size(), 1u);
    const HostCall& call = host.Calls()[0];
    EXPECT_EQ(call.slot, FakeSlot::MenuRegister);
    EXPECT_EQ(call.menuRecord, MenuRegistrationBytes(32500, 32600, 18, 0));
}

TEST_F(BoundAddOn, RegisterLooksForTheInstallationAnewEachTime) {
    const auto executable = registry.Install("Version 1");
    EXPECT_EQ(AddOnRegister(nullptr), NoError);
    std::filesystem::remove(executable);
    EXPECT_EQ(AddOnRegister(nullptr), NoError);
    EXPECT_EQ(host.Calls().size(), 1u);
}

TEST_F(BoundAddOn, StartInstallsTheMenuHandlerEvenWhenNoMenuWasRegistered) {
    ASSERT_EQ(AddOnRegister(nullptr), NoError);
    host.AnswerWith(FakeSlot::MenuHandlerInstall, 0x2468);

    EXPECT_EQ(AddOnStart(HostToken()), 0x2468);

    ASSERT_EQ(host.Calls().size(), 1u);
    const HostCall& call = host.Calls()[0];
    EXPECT_EQ(call.slot, FakeSlot::MenuHandlerInstall);
    EXPECT_EQ(call.token, HostToken());
    EXPECT_EQ(call.arguments, (std::vector<std::uint64_t>{32500, AsArgument(&MenuCommandHandler)}));
}

TEST_F(BoundAddOn, StartWithoutTheHandlerSlotReportsTheMissingSlotButKeepsTheToken) {
    EmptySlotAndRebind(FakeSlot::MenuHandlerInstall);
    EXPECT_EQ(AddOnStart(HostToken()), MissingSlot);
    EXPECT_EQ(GetAddOnToken(), HostToken());
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(BoundAddOn, TheInstalledHandlerAnswersZeroForBothCommands) {
    ASSERT_EQ(AddOnStart(HostToken()), NoError);
    ASSERT_EQ(host.Calls().size(), 1u);
    const auto handler = reinterpret_cast<MenuCommandHandlerProc>(host.Calls()[0].arguments[1]);

    const MenuCommandRecord open{32500, 0, 1};
    const MenuCommandRecord settings{32500, 0, 2};
    EXPECT_EQ(handler(&open), NoError);
    EXPECT_EQ(handler(&settings), NoError);
}

TEST_F(BoundAddOn, TheHandlerIgnoresOtherMenusAndItems) {
    const MenuCommandRecord thirdItem{32500, 0, 3};
    const MenuCommandRecord noItem{32500, 0, 0};
    const MenuCommandRecord promptList{32600, 0, 1};
    const MenuCommandRecord otherMenu{-32500, 0, 1};
    EXPECT_EQ(MenuCommandHandler(&thirdItem), NoError);
    EXPECT_EQ(MenuCommandHandler(&noItem), NoError);
    EXPECT_EQ(MenuCommandHandler(&promptList), NoError);
    EXPECT_EQ(MenuCommandHandler(&otherMenu), NoError);
    EXPECT_TRUE(host.Calls().empty());
}
