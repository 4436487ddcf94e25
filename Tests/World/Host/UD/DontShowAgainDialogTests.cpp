#include "DGTestSupport.hpp"
#include "DontShowAgainDialogUtils.hpp"
#include "GSPref.hpp"
#include "HostTestSupport.hpp"

namespace {

using namespace DGTest;

// The information dialog's layout, a driver that records what the utility decided, and a fresh
// current-user registry per test.
class DontShowAgainTest : public ::testing::Test {
protected:
    // On Windows the store folder means nothing: the current user's registry outlives every test,
    // so the key this test writes is deleted before and after it.
    DontShowAgainTest() {
        GSPref::SetStoreFolder(folder.Utf8().c_str());
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, UD::DontShowAgainKey));
    }
    ~DontShowAgainTest() override {
        static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, UD::DontShowAgainKey));
        GSPref::SetStoreFolder("");
    }

    class RecordingDriver : public ScriptedDriver {
    public:
        void DontShowAgainDecided(const DG::DontShowAgainReport& report) override {
            reports.push_back(report);
        }
        std::vector<DG::DontShowAgainReport> reports;
    };

    static void Invoke() {
        UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog(
            TestModule, InformationNumber, Text("VELDEXPORTERINVOKEINFORMATIONDIALOG"), TestModule);
    }

    HostTestSupport::TempFolder folder;
    TestLayouts layouts;
    RecordingDriver driver;
};

TEST_F(DontShowAgainTest, TheDialogIsShownTheFirstTimeWithItsLayout) {
    Invoke();
    ASSERT_EQ(driver.dialogsShown, 1);
    EXPECT_EQ(driver.openedWith[0].title, "Information");
    ASSERT_EQ(driver.reports.size(), 1u);
    EXPECT_EQ(driver.reports[0].dialog, 7000);
    EXPECT_EQ(driver.reports[0].key, "VELDEXPORTERINVOKEINFORMATIONDIALOG");
    EXPECT_TRUE(driver.reports[0].shown);
    EXPECT_FALSE(driver.reports[0].suppressedAfterwards);
}

TEST_F(DontShowAgainTest, TickedAndClosedWithItsButtonItIsNotShownAgain) {
    bool closedByButton = false;
    driver.script = [&closedByButton](DG::DialogSession& session) {
        EXPECT_TRUE(session.Check(5, true));
        EXPECT_TRUE(session.Click(1));
        closedByButton = session.IsCloseRequested() && session.CloseResponse() == DG::Accept;
    };
    Invoke();
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(driver.reports.at(0).suppressedAfterwards);
    EXPECT_TRUE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("VELDEXPORTERINVOKEINFORMATIONDIALOG")));

    driver.script = nullptr;
    Invoke();
    EXPECT_EQ(driver.dialogsShown, 1);
    ASSERT_EQ(driver.reports.size(), 2u);
    EXPECT_FALSE(driver.reports[1].shown);
    EXPECT_TRUE(driver.reports[1].suppressedAfterwards);
}

TEST_F(DontShowAgainTest, ClosedWithoutTheTickItComesBack) {
    driver.script = [](DG::DialogSession& session) { session.Click(1); };
    Invoke();
    Invoke();
    EXPECT_EQ(driver.dialogsShown, 2);
    EXPECT_FALSE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("VELDEXPORTERINVOKEINFORMATIONDIALOG")));
}

TEST_F(DontShowAgainTest, TheChoiceIsKeptPerKey) {
    driver.script = [](DG::DialogSession& session) {
        session.Check(5, true);
        session.Close(DG::Cancel);
    };
    Invoke();
    EXPECT_TRUE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("VELDEXPORTERINVOKEINFORMATIONDIALOG")));
    EXPECT_FALSE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("ANOTHERKEY")));
}

TEST_F(DontShowAgainTest, AFreshRegistryShowsItAgain) {
    driver.script = [](DG::DialogSession& session) {
        session.Check(5, true);
        session.Click(1);
    };
    Invoke();
    HostTestSupport::TempFolder otherUser;
    GSPref::SetStoreFolder(otherUser.Utf8().c_str());
    // Windows has one registry for every store folder: the other user starts without the key.
    static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::CurrentUser, UD::DontShowAgainKey));
    Invoke();
    EXPECT_EQ(driver.dialogsShown, 2);
}

TEST_F(DontShowAgainTest, WithoutADriverTheDialogClosesUntickedAndNothingIsRemembered) {
    DG::SetUIDriver(nullptr);
    Invoke();
    EXPECT_FALSE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("VELDEXPORTERINVOKEINFORMATIONDIALOG")));
}

TEST_F(DontShowAgainTest, ARefusedCallShowsNothingAndRemembersNothing) {
    HostTestSupport::RecordingMonitor monitor;
    monitor.failures["UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog"] = GSErr::Generic;
    Invoke();
    EXPECT_EQ(driver.dialogsShown, 0);
    EXPECT_TRUE(driver.reports.empty());
}

TEST_F(DontShowAgainTest, OnlyTheUtilitysOwnCallIsReportedNotTheDialogItBuilds) {
    HostTestSupport::RecordingMonitor monitor;
    driver.script = [](DG::DialogSession& session) { session.Click(1); };
    Invoke();
    ASSERT_EQ(monitor.calls.size(), 1u);
    EXPECT_EQ(monitor.calls[0].operation, "UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog");
    EXPECT_EQ(monitor.calls[0].details, "dialog=7000 module=5 key=\"VELDEXPORTERINVOKEINFORMATIONDIALOG\"");
    ASSERT_EQ(monitor.results.size(), 1u);
    EXPECT_EQ(monitor.results[0].details, "shown=true suppressed=false");
}

TEST_F(DontShowAgainTest, AMissingLayoutShowsNothingAndRemembersNothing) {
    layouts.layouts.erase(InformationNumber);
    Invoke();
    EXPECT_EQ(driver.dialogsShown, 0);
    EXPECT_EQ(driver.rejections.size(), 1u);
    ASSERT_EQ(driver.reports.size(), 1u);
    EXPECT_FALSE(driver.reports[0].shown);
    EXPECT_FALSE(UD::DontShowAgainDialogUtils::IsSuppressed(Text("VELDEXPORTERINVOKEINFORMATIONDIALOG")));
}

} // namespace
