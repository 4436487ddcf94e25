#include "DGTestSupport.hpp"
#include "DGUserData.hpp"
#include "GSPref.hpp"
#include "HostTestSupport.hpp"

#include <array>

namespace {

using namespace DGTest;

class AlertTest : public ::testing::Test {
protected:
    ScriptedDriver driver;
};

TEST_F(AlertTest, DGAlertHandsTheDriverItsTypeAndEveryTextInArgumentOrder) {
    driver.alertAnswer = 1;
    const Int16 answer = DGAlert(-1, Text("Could not save SAF file."), Text("Check the folder."), Text(""),
                                 Text("OK"), Text(""), Text(""));
    EXPECT_EQ(answer, 1);
    ASSERT_EQ(driver.alerts.size(), 1u);
    const DG::AlertRequest& alert = driver.alerts[0];
    EXPECT_EQ(alert.call, DG::AlertCall::DGAlert);
    EXPECT_TRUE(alert.hasAlertType);
    EXPECT_EQ(alert.alertType, -1);
    EXPECT_EQ(alert.texts,
              (std::vector<std::string>{"Could not save SAF file.", "Check the folder.", "", "OK", "", ""}));
    EXPECT_EQ(alert.buttons, (std::vector<std::string>{"OK", "", ""}));
}

TEST_F(AlertTest, WarningAlertAnswersTheButtonThatWasPressed) {
    driver.alertAnswer = 2;
    const DG::AlertResponse answer =
        DG::WarningAlert(Text("Problem"), Text("- Settings"), Text("Settings..."), Text("Cancel"), Text(""));
    EXPECT_EQ(answer, DG::SecondButton);
    ASSERT_EQ(driver.alerts.size(), 1u);
    EXPECT_EQ(driver.alerts[0].call, DG::AlertCall::WarningAlert);
    EXPECT_FALSE(driver.alerts[0].hasAlertType);
    EXPECT_EQ(driver.alerts[0].texts.size(), 5u);
}

TEST_F(AlertTest, AnAnswerNamingAButtonWithoutTextCountsAsTheFirst) {
    driver.alertAnswer = 3;
    EXPECT_EQ(DG::WarningAlert(Text("a"), Text("b"), Text("Yes"), Text("No"), Text("")), DG::FirstButton);
}

TEST_F(AlertTest, WithoutADriverAnAlertAnswersItsFirstButton) {
    DG::SetUIDriver(nullptr);
    EXPECT_EQ(DG::WarningAlert(Text("a"), Text("b"), Text("Yes"), Text("No"), Text("")), DG::FirstButton);
}

TEST_F(AlertTest, ARefusedAlertShowsNothingAndAnswersItsLastButton) {
    HostTestSupport::RecordingMonitor monitor;
    monitor.failures["DG::WarningAlert"] = GSErr::Generic;
    EXPECT_EQ(DG::WarningAlert(Text("a"), Text("b"), Text("Yes"), Text("No"), Text("")), DG::SecondButton);
    EXPECT_TRUE(driver.alerts.empty());
    ASSERT_EQ(monitor.CallsOf("DG::WarningAlert").size(), 1u);
    EXPECT_EQ(monitor.CallsOf("DG::WarningAlert")[0].details, "texts=[\"a\" \"b\" \"Yes\" \"No\" \"\"]");
}

TEST_F(AlertTest, AnAlertWithoutButtonTextsShowsOneOK) {
    DGAlert(0, Text("Done"), Text(""), Text(""), Text(""), Text(""), Text(""));
    ASSERT_EQ(driver.alerts.size(), 1u);
    EXPECT_EQ(driver.alerts[0].buttons[0], "OK");
}

class UserDataTest : public ::testing::Test {
protected:
    // On Windows the store folder means nothing: the current user's registry outlives every test,
    // so the key this test writes is deleted before and after it.
    UserDataTest() {
        GSPref::SetStoreFolder(folder.Utf8().c_str());
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, DG::UserDataKey));
    }
    ~UserDataTest() override {
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, DG::UserDataKey));
        GSPref::SetStoreFolder("");
    }

    HostTestSupport::TempFolder folder;
};

// The width record with guard bytes on both sides, so that a write past it shows.
struct GuardedRecord {
    std::array<UInt8, 4> before{0xAB, 0xAB, 0xAB, 0xAB};
    Int16 width = 360;
    std::array<UInt8, 4> after{0xAB, 0xAB, 0xAB, 0xAB};

    bool GuardsIntact() const {
        for (UInt8 guard : before) {
            if (guard != 0xAB) {
                return false;
            }
        }
        for (UInt8 guard : after) {
            if (guard != 0xAB) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(UserDataTest, ARecordOfTheRightSizeIsAppliedAndItsSizeAnswered) {
    const Int16 stored = 40;
    ASSERT_EQ(DGStoreUserDataToRegistry(Text("ExportSettingsDialogData"), &stored, sizeof stored), NoError);
    GuardedRecord record;
    EXPECT_EQ(
        DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &record.width, sizeof record.width),
        2);
    EXPECT_EQ(record.width, 40);
    EXPECT_TRUE(record.GuardsIntact());
}

TEST_F(UserDataTest, ALargerRecordIsNotAppliedAndNothingIsWrittenPastTheCallersRecord) {
    const std::array<UInt8, 6> stored{1, 2, 3, 4, 5, 6};
    ASSERT_EQ(DGStoreUserDataToRegistry(Text("ExportSettingsDialogData"), stored.data(), 6), NoError);
    GuardedRecord record;
    EXPECT_EQ(
        DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &record.width, sizeof record.width),
        6);
    EXPECT_EQ(record.width, 360);
    EXPECT_TRUE(record.GuardsIntact());
}

TEST_F(UserDataTest, ASmallerRecordIsNotApplied) {
    const UInt8 stored = 7;
    ASSERT_EQ(DGStoreUserDataToRegistry(Text("ExportSettingsDialogData"), &stored, 1), NoError);
    GuardedRecord record;
    EXPECT_EQ(
        DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &record.width, sizeof record.width),
        1);
    EXPECT_EQ(record.width, 360);
}

TEST_F(UserDataTest, NothingStoredAnswersZeroAndLeavesTheRecord) {
    GuardedRecord record;
    EXPECT_EQ(
        DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &record.width, sizeof record.width),
        0);
    EXPECT_EQ(record.width, 360);
}

TEST_F(UserDataTest, RecordsAreKeptApartByName) {
    const Int16 stored = 12;
    DGStoreUserDataToRegistry(Text("OtherDialogData"), &stored, sizeof stored);
    Int16 width = 360;
    EXPECT_EQ(DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &width, sizeof width), 0);
    EXPECT_EQ(DGRetrieveUserDataFromRegistry(Text("OtherDialogData"), &width, sizeof width), 2);
    EXPECT_EQ(width, 12);
}

TEST_F(UserDataTest, ARefusedRetrieveAnswersZeroAndWritesNothing) {
    const Int16 stored = 40;
    DGStoreUserDataToRegistry(Text("ExportSettingsDialogData"), &stored, sizeof stored);
    HostTestSupport::RecordingMonitor monitor;
    monitor.failures["DGRetrieveUserDataFromRegistry"] = GSErr::IOError;
    Int16 width = 360;
    EXPECT_EQ(DGRetrieveUserDataFromRegistry(Text("ExportSettingsDialogData"), &width, sizeof width), 0);
    EXPECT_EQ(width, 360);
}

} // namespace
