#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"

namespace {

using namespace DGTest;

class DialogTest : public ::testing::Test {
protected:
    TestLayouts layouts;
    ScriptedDriver driver;
};

TEST_F(DialogTest, AClickReachesTheDialogWithTheMemberItselfAsSource) {
    ExportLikeDialog dialog;
    driver.script = [](DG::DialogSession& session) {
        EXPECT_TRUE(session.Click(5));
        EXPECT_TRUE(session.Click(2));
    };
    dialog.Invoke();
    ASSERT_EQ(dialog.clickSources.size(), 2u);
    EXPECT_EQ(dialog.clickSources[0], &dialog.detailsButton);
    EXPECT_EQ(dialog.clickSources[1], &dialog.cancelButton);
}

TEST_F(DialogTest, APopUpChoiceReachesTheDialogWithThePreviousSelection) {
    ExportLikeDialog dialog;
    Fill(dialog.translatorPopUp, {"A", "B"});
    dialog.translatorPopUp.SelectItem(1);
    driver.script = [](DG::DialogSession& session) { EXPECT_TRUE(session.Select(4, 2)); };
    dialog.Invoke();
    EXPECT_EQ(dialog.popUpChanges, std::vector<Int16>{1});
    EXPECT_EQ(dialog.popUpSources, std::vector<const DG::PopUp*>{&dialog.translatorPopUp});
    EXPECT_EQ(dialog.translatorPopUp.GetSelectedItem(), 2);
}

TEST_F(DialogTest, AfterDetachFromAllItemsNoItemNotificationArrives) {
    ExportLikeDialog dialog;
    Fill(dialog.translatorPopUp, {"A", "B"});
    dialog.DetachFromAllItems(dialog);
    driver.script = [](DG::DialogSession& session) {
        session.Select(4, 2);
        session.Click(5);
    };
    dialog.Invoke();
    EXPECT_TRUE(dialog.clickSources.empty());
    EXPECT_TRUE(dialog.popUpChanges.empty());
}

TEST_F(DialogTest, AttachToAllItemsCoversOnlyTheItemsOfItsOwnPanel) {
    ExportLikeDialog first;
    ExportLikeDialog second;
    driver.script = [](DG::DialogSession& session) { session.Click(5); };
    second.Invoke();
    EXPECT_TRUE(first.clickSources.empty());
    EXPECT_EQ(second.clickSources, std::vector<const DG::Button*>{&second.detailsButton});
}

TEST_F(DialogTest, AResizeOfFortyMovesAndWidensExactlyWhatTheObserverAsks) {
    ExportLikeDialog dialog;
    DG::DialogModel after;
    driver.script = [&after](DG::DialogSession& session) {
        EXPECT_TRUE(session.Resize(40, 0));
        after = session.Model();
    };
    dialog.Invoke();
    const DG::DialogModel& before = driver.openedWith.at(0);
    EXPECT_EQ(after.width, before.width + 40);
    EXPECT_EQ(after.height, before.height);
    for (Int16 item : std::initializer_list<Int16>{3, 4, 7, 8}) {
        EXPECT_EQ(ItemOf(after, item).width, ItemOf(before, item).width + 40) << "item " << item;
        EXPECT_EQ(ItemOf(after, item).left, ItemOf(before, item).left) << "item " << item;
    }
    for (Int16 item : std::initializer_list<Int16>{1, 2, 5}) {
        EXPECT_EQ(ItemOf(after, item).left, ItemOf(before, item).left + 40) << "item " << item;
        EXPECT_EQ(ItemOf(after, item).width, ItemOf(before, item).width) << "item " << item;
    }
    EXPECT_EQ(ItemOf(after, 6).left, ItemOf(before, 6).left);
    EXPECT_EQ(ItemOf(after, 6).width, ItemOf(before, 6).width);
}

TEST_F(DialogTest, AProgrammaticResizeNotifiesAsAUsersDoesAndIgnoresVerticalGrowthOfAHGrowDialog) {
    ExportLikeDialog dialog;
    dialog.Resize(25, 30, DG::TopLeft, false);
    EXPECT_EQ(dialog.resizes, std::vector<Int16>{25});
    EXPECT_EQ(dialog.GetWidth(), 385);
    EXPECT_EQ(dialog.GetHeight(), 150);
    EXPECT_EQ(dialog.okButton.GetWidth(), 90);
    EXPECT_EQ(dialog.translatorPopUp.GetWidth(), 255);
}

TEST_F(DialogTest, ADialogNeverShrinksBelowItsLayout) {
    ExportLikeDialog dialog;
    dialog.Resize(10, 0);
    dialog.Resize(-50, 0);
    EXPECT_EQ(dialog.GetWidth(), 360);
    EXPECT_EQ(dialog.resizes, (std::vector<Int16>{10, -10}));
}

TEST_F(DialogTest, ADialogWithoutGrowTypeRefusesTheUsersResize) {
    DG::ModalDialog dialog(TestModule, InformationNumber, TestModule);
    std::string refusal;
    driver.script = [&refusal](DG::DialogSession& session) {
        EXPECT_FALSE(session.Resize(40, 0));
        refusal = session.Refusal();
    };
    dialog.Invoke();
    EXPECT_EQ(refusal, "the dialog cannot be resized");
    EXPECT_EQ(dialog.GetWidth(), 360);
}

TEST_F(DialogTest, InvokeAnswersTrueOnlyForResponseOne) {
    for (Int32 response : {1, 2, 3}) {
        ExportLikeDialog dialog;
        driver.script = [response](DG::DialogSession& session) { session.Close(response); };
        EXPECT_EQ(dialog.Invoke(), response == 1) << "response " << response;
    }
}

TEST_F(DialogTest, ACloseRequestFromTheDialogsOwnHandlerEndsTheModalLoop) {
    ExportLikeDialog dialog;
    bool closedAfterClick = false;
    driver.script = [&closedAfterClick](DG::DialogSession& session) {
        session.Click(1);
        closedAfterClick = session.IsCloseRequested();
    };
    EXPECT_TRUE(dialog.Invoke());
    EXPECT_TRUE(closedAfterClick);
}

TEST_F(DialogTest, WithoutADriverADialogClosesAsCancelled) {
    DG::SetUIDriver(nullptr);
    ExportLikeDialog dialog;
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(driver.dialogsShown, 0);
}

TEST_F(DialogTest, ARefusedInvokeShowsNothingAndAnswersFalse) {
    HostTestSupport::RecordingMonitor monitor;
    monitor.failures["DG::ModalDialog::Invoke"] = GSErr::Generic;
    ExportLikeDialog dialog;
    driver.script = [](DG::DialogSession& session) { session.Close(1); };
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(driver.dialogsShown, 0);
    EXPECT_EQ(monitor.CallsOf("DG::ModalDialog::Invoke").size(), 1u);
}

TEST_F(DialogTest, DisabledItemsCannotBeUsedThroughTheDriver) {
    ExportLikeDialog dialog;
    Fill(dialog.translatorPopUp, {"Select translator", "A"});
    dialog.translatorPopUp.SelectItem(1);
    dialog.translatorPopUp.DisableItem(2);
    dialog.okButton.SetStatus(false);
    std::vector<std::string> refusals;
    driver.script = [&refusals](DG::DialogSession& session) {
        EXPECT_FALSE(session.Select(4, 2));
        refusals.push_back(session.Refusal());
        EXPECT_FALSE(session.Click(1));
        refusals.push_back(session.Refusal());
        EXPECT_FALSE(session.Select(3, 1));
        refusals.push_back(session.Refusal());
        EXPECT_FALSE(session.Select(4, 9));
        refusals.push_back(session.Refusal());
    };
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(refusals,
              (std::vector<std::string>{"entry 2 of pop-up 4 is disabled", "item 1 (push button) is disabled",
                                        "item 3 is a static text: it cannot be selected from",
                                        "pop-up 4 has no entry 9 (it has 2)"}));
    EXPECT_EQ(dialog.translatorPopUp.GetSelectedItem(), 1);
    EXPECT_TRUE(dialog.clickSources.empty());
    EXPECT_TRUE(dialog.popUpChanges.empty());
}

TEST_F(DialogTest, ADestroyedObserverHearsNothingMore) {
    ExportLikeDialog dialog;
    {
        class Counter : public DG::ButtonItemObserver {
        public:
            void ButtonClicked(const DG::ButtonClickEvent&) override { ++clicks; }
            int clicks = 0;
        } counter;
        dialog.detailsButton.Attach(counter);
    }
    driver.script = [](DG::DialogSession& session) { session.Click(5); };
    dialog.Invoke();
    EXPECT_EQ(dialog.clickSources.size(), 1u);
}

TEST_F(DialogTest, AMalformedLayoutIsReportedWithItsPlaceAndGivesAnInertDialog) {
    layouts.layouts[7001][300] = 9;
    HostTestSupport::DebugCapture debug;
    ExportLikeDialog dialog;
    EXPECT_FALSE(dialog.IsValid());
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(driver.dialogsShown, 0);
    ASSERT_EQ(driver.rejections.size(), 1u);
    EXPECT_EQ(driver.rejections[0], "7001: GSDG 7001, item 8, offset 300: unknown item type code 9");
    ASSERT_EQ(debug.texts.size(), 1u);
    EXPECT_NE(debug.texts[0].find("item 8, offset 300"), std::string::npos);
    dialog.translatorPopUp.AppendItem();
    EXPECT_EQ(dialog.translatorPopUp.GetItemCount(), 0);
}

TEST_F(DialogTest, AMissingLayoutIsReported) {
    DG::ModalDialog dialog(TestModule, 6999, TestModule);
    EXPECT_FALSE(dialog.IsValid());
    ASSERT_EQ(driver.rejections.size(), 1u);
    EXPECT_NE(driver.rejections[0].find("has no such layout"), std::string::npos);
}

TEST_F(DialogTest, TheDriverSeesTheLayoutsTitleSizeAndItems) {
    ExportLikeDialog dialog;
    dialog.Invoke();
    const DG::DialogModel& model = driver.openedWith.at(0);
    EXPECT_EQ(model.title, "VELD Engineer Export Settings");
    EXPECT_EQ(model.width, 360);
    EXPECT_EQ(model.growType, DG::HGrow);
    ASSERT_EQ(model.items.size(), 8u);
    EXPECT_EQ(ItemOf(model, 5).text, "Details...");
    EXPECT_EQ(ItemOf(model, 6).iconNumber, 32700);
}

using DialogDeathTest = DialogTest;

TEST_F(DialogDeathTest, AMemberOnAnItemOfAnotherKindStopsTheHostNamingBoth) {
    DG::ModalDialog dialog(TestModule, ExportSettingsNumber, TestModule);
    EXPECT_DEATH(DG::Button(dialog.GetReference(), 3),
                 "DG::Button \\(push button\\) built on item 3 of dialog 7001, which is a static text");
    EXPECT_DEATH(DG::PopUp(dialog.GetReference(), 9),
                 "DG::PopUp \\(pop-up\\) built on item 9 of dialog 7001, "
                 "which has only 8 items");
}

} // namespace
