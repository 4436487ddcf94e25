#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"

namespace {

using namespace DGTest;

class PopUpTest : public ::testing::Test {
protected:
    TestLayouts layouts;
    DG::ModalDialog dialog{TestModule, ExportSettingsNumber, TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
};

TEST_F(PopUpTest, EntriesAreNumberedFromOneAndOutOfRangeTextsAreEmpty) {
    Fill(popUp, {"A", "B"});
    EXPECT_EQ(popUp.GetItemCount(), 2);
    EXPECT_EQ(Utf8(popUp.GetItemText(1)), "A");
    EXPECT_EQ(Utf8(popUp.GetItemText(0)), "");
    EXPECT_EQ(Utf8(popUp.GetItemText(3)), "");
    EXPECT_EQ(popUp.GetSelectedItem(), 0);
}

TEST_F(PopUpTest, DeleteItemZeroEmptiesThePopUpAndItsSelection) {
    Fill(popUp, {"A", "B", "C"});
    popUp.SelectItem(2);
    popUp.DeleteItem(0);
    EXPECT_EQ(popUp.GetItemCount(), 0);
    EXPECT_EQ(popUp.GetSelectedItem(), 0);
}

TEST_F(PopUpTest, InsertingBeforeTheSelectionKeepsTheSameEntrySelected) {
    Fill(popUp, {"A", "B"});
    popUp.SelectItem(2);
    popUp.InsertItem(1);
    popUp.SetItemText(1, Text("Select translator"));
    EXPECT_EQ(popUp.GetSelectedItem(), 3);
    EXPECT_EQ(Utf8(popUp.GetItemText(popUp.GetSelectedItem())), "B");
    popUp.InsertItem(4);
    EXPECT_EQ(popUp.GetSelectedItem(), 3);
    EXPECT_EQ(Entries(popUp), (std::vector<std::string>{"Select translator", "A", "B", ""}));
}

TEST_F(PopUpTest, DeletingThePlaceholderBeforeAPickedEntryKeepsThePick) {
    Fill(popUp, {"Select translator", "A", "B"});
    popUp.SelectItem(3);
    popUp.DeleteItem(1);
    EXPECT_EQ(popUp.GetSelectedItem(), 2);
    EXPECT_EQ(Utf8(popUp.GetItemText(popUp.GetSelectedItem())), "B");
}

TEST_F(PopUpTest, DeletingTheSelectedEntryLeavesNoSelection) {
    Fill(popUp, {"A", "B", "C"});
    popUp.SelectItem(2);
    popUp.DeleteItem(2);
    EXPECT_EQ(popUp.GetSelectedItem(), 0);
    EXPECT_EQ(Utf8(popUp.GetItemText(popUp.GetSelectedItem())), "");
    EXPECT_EQ(Entries(popUp), (std::vector<std::string>{"A", "C"}));
}

TEST_F(PopUpTest, DeletingAfterTheSelectionOrOutOfRangeChangesNothingOfIt) {
    Fill(popUp, {"A", "B", "C"});
    popUp.SelectItem(2);
    popUp.DeleteItem(3);
    popUp.DeleteItem(7);
    popUp.SelectItem(9);
    EXPECT_EQ(popUp.GetSelectedItem(), 2);
    EXPECT_EQ(popUp.GetItemCount(), 2);
}

TEST_F(PopUpTest, InsertingPastTheEndAppends) {
    Fill(popUp, {"A"});
    popUp.InsertItem(5);
    popUp.SetItemText(2, Text("B"));
    EXPECT_EQ(Entries(popUp), (std::vector<std::string>{"A", "B"}));
}

TEST_F(PopUpTest, DisabledEntriesCanStillBeSelectedByTheProgram) {
    Fill(popUp, {"Select translator", "A"});
    popUp.SelectItem(1);
    popUp.DisableItem(1);
    EXPECT_FALSE(popUp.IsItemEnabled(1));
    EXPECT_TRUE(popUp.IsItemEnabled(2));
    EXPECT_FALSE(popUp.IsItemEnabled(3));
    EXPECT_EQ(popUp.GetSelectedItem(), 1);
    popUp.EnableItem(1);
    EXPECT_TRUE(popUp.IsItemEnabled(1));
}

TEST_F(PopUpTest, TextsKeepCharactersBeyondAscii) {
    Fill(popUp, {"Übersetzer ✓"});
    EXPECT_EQ(Utf8(popUp.GetItemText(1)), "Übersetzer ✓");
    EXPECT_TRUE(popUp.GetItemText(1).IsEqual(Text("Übersetzer ✓")));
}

TEST_F(PopUpTest, TextsAreKeptWholeWithANulInsideAndUnpairedSurrogatesReadBackReplaced) {
    const char16_t withNul[] = {u'A', u'\0', u'B'};
    const char16_t withLoneSurrogate[] = {u'x', char16_t{0xD800}, u'y'};
    popUp.AppendItem();
    popUp.AppendItem();
    popUp.SetItemText(1, GS::UniString(withNul, 3));
    popUp.SetItemText(2, GS::UniString(withLoneSurrogate, 3));
    EXPECT_TRUE(popUp.GetItemText(1).IsEqual(GS::UniString(withNul, 3)));
    EXPECT_TRUE(popUp.GetItemText(2).IsEqual(GS::UniString(u"x\uFFFDy")));

    DG::LeftText label(dialog.GetReference(), 3);
    label.SetText(GS::UniString(withNul, 3));
    EXPECT_TRUE(label.GetText().IsEqual(GS::UniString(withNul, 3)));
}

// A pop-up as long as a big translator list: appended entries keep their order, the count follows
// every change, and the selection follows its entry through an insert and a delete at the top.
TEST_F(PopUpTest, TenThousandEntriesKeepTheirOrderCountAndSelection) {
    constexpr int Count = 10000;
    for (int entry = 1; entry <= Count; ++entry) {
        popUp.AppendItem();
        popUp.SetItemText(static_cast<Int16>(entry), Text(("Entry " + std::to_string(entry)).c_str()));
    }
    popUp.SelectItem(6789);
    EXPECT_EQ(popUp.GetItemCount(), Count);
    popUp.InsertItem(1);
    popUp.SetItemText(1, Text("Select translator"));
    EXPECT_EQ(popUp.GetItemCount(), Count + 1);
    EXPECT_EQ(popUp.GetSelectedItem(), 6790);
    popUp.DeleteItem(1);
    EXPECT_EQ(popUp.GetSelectedItem(), 6789);
    const std::vector<std::string> texts = Entries(popUp);
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(Count));
    for (int entry = 1; entry <= Count; ++entry) {
        ASSERT_EQ(texts[static_cast<std::size_t>(entry - 1)], "Entry " + std::to_string(entry));
    }
    EXPECT_EQ(Utf8(popUp.GetItemText(popUp.GetSelectedItem())), "Entry 6789");
}

TEST_F(PopUpTest, ItsOperationsReportThemselvesToTheHost) {
    HostTestSupport::RecordingMonitor monitor;
    popUp.AppendItem();
    popUp.SelectItem(1);
    ASSERT_EQ(monitor.CallsOf("DG::PopUp::SelectItem").size(), 1u);
    EXPECT_EQ(monitor.CallsOf("DG::PopUp::SelectItem")[0].details, "dialog=7001 item=4 entry=1");
}

TEST_F(PopUpTest, HostWorkIsNotReported) {
    HostTestSupport::RecordingMonitor monitor;
    {
        DG::HostWorkScope hostWork;
        popUp.AppendItem();
    }
    EXPECT_TRUE(monitor.calls.empty());
    EXPECT_EQ(popUp.GetItemCount(), 1);
}

} // namespace
