#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"

#include <string>
#include <vector>

namespace {

using namespace DGTest;

using Lines = std::vector<std::string>;

// "operation details" and "operation -> result", in the order the monitor heard them.
class TranscriptMonitor : public HostTestSupport::RecordingMonitor {
public:
    GSErrCode OnCall(const char* operation, const char* details) override {
        lines.push_back(std::string(operation) + " " + details);
        return RecordingMonitor::OnCall(operation, details);
    }
    void OnResult(const char* operation, const char* result) override {
        lines.push_back(std::string(operation) + " -> " + result);
    }
    Lines lines;
};

class PopUpReportTest : public ::testing::Test {
protected:
    TestLayouts layouts;
    DG::ModalDialog dialog{TestModule, ExportSettingsNumber, TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
};

// What hostsim writes into its transcripts, call by call: the texts are formatted only for a monitor,
// and must read exactly as they always have.
TEST_F(PopUpReportTest, EveryPopUpOperationReportsItsDetailsAndResultWordForWord) {
    TranscriptMonitor monitor;
    popUp.AppendItem();
    popUp.SetItemText(1, Text("Say \"hi\"\t\\ Ü"));
    static_cast<void>(popUp.GetItemCount());
    static_cast<void>(popUp.GetItemText(1));
    static_cast<void>(popUp.GetItemText(7));
    popUp.InsertItem(1);
    popUp.SelectItem(2);
    static_cast<void>(popUp.GetSelectedItem());
    popUp.DisableItem(1);
    static_cast<void>(popUp.IsItemEnabled(1));
    popUp.EnableItem(1);
    popUp.DeleteItem(1);
    popUp.DeleteItem(0);
    EXPECT_EQ(monitor.lines,
              (Lines{
                  "DG::PopUp::AppendItem dialog=7001 item=4",
                  "DG::PopUp::AppendItem -> done",
                  "DG::PopUp::SetItemText dialog=7001 item=4 entry=1 text=\"Say \\\"hi\\\"\\t\\\\ Ü\"",
                  "DG::PopUp::SetItemText -> done",
                  "DG::PopUp::GetItemCount dialog=7001 item=4",
                  "DG::PopUp::GetItemCount -> count=1",
                  "DG::PopUp::GetItemText dialog=7001 item=4 entry=1",
                  "DG::PopUp::GetItemText -> text=\"Say \\\"hi\\\"\\t\\\\ Ü\"",
                  "DG::PopUp::GetItemText dialog=7001 item=4 entry=7",
                  "DG::PopUp::GetItemText -> text=\"\"",
                  "DG::PopUp::InsertItem dialog=7001 item=4 entry=1",
                  "DG::PopUp::InsertItem -> done",
                  "DG::PopUp::SelectItem dialog=7001 item=4 entry=2",
                  "DG::PopUp::SelectItem -> done",
                  "DG::PopUp::GetSelectedItem dialog=7001 item=4",
                  "DG::PopUp::GetSelectedItem -> selected=2",
                  "DG::PopUp::DisableItem dialog=7001 item=4 entry=1",
                  "DG::PopUp::DisableItem -> done",
                  "DG::PopUp::IsItemEnabled dialog=7001 item=4 entry=1",
                  "DG::PopUp::IsItemEnabled -> enabled=false",
                  "DG::PopUp::EnableItem dialog=7001 item=4 entry=1",
                  "DG::PopUp::EnableItem -> done",
                  "DG::PopUp::DeleteItem dialog=7001 item=4 entry=1",
                  "DG::PopUp::DeleteItem -> done",
                  "DG::PopUp::DeleteItem dialog=7001 item=4 entry=0",
                  "DG::PopUp::DeleteItem -> done",
              }));
}

TEST_F(PopUpReportTest, ItemsAndDialogsReportTheirArgumentsAndResultsWordForWord) {
    DG::Button details(dialog.GetReference(), 5);
    const Int16 layoutWidth = DG::FindDialogModel(dialog)->width;
    TranscriptMonitor monitor;
    details.SetStatus(false);
    details.Move(3, -2);
    details.Resize(-1, 4);
    details.SetText(Text("D\u00e9tails\n..."));
    static_cast<void>(dialog.GetWidth());
    dialog.SetGrowType(DG::HGrow);
    dialog.Resize(40, 0, DG::TopLeft, false);
    dialog.PostCloseRequest(DG::Cancel);
    EXPECT_EQ(monitor.lines, (Lines{
                                 "DG::Item::SetStatus dialog=7001 item=5 status=false",
                                 "DG::Item::SetStatus -> done",
                                 "DG::Item::Move dialog=7001 item=5 dx=3 dy=-2",
                                 "DG::Item::Move -> done",
                                 "DG::Item::Resize dialog=7001 item=5 dx=-1 dy=4",
                                 "DG::Item::Resize -> done",
                                 "DG::Item::SetText dialog=7001 item=5 text=\"D\u00e9tails\\n...\"",
                                 "DG::Item::SetText -> done",
                                 "DG::Panel::GetWidth dialog=7001",
                                 "DG::Panel::GetWidth -> width=" + std::to_string(layoutWidth),
                                 "DG::Dialog::SetGrowType dialog=7001 growType=1",
                                 "DG::Dialog::SetGrowType -> done",
                                 "DG::Dialog::Resize dialog=7001 hGrow=40 vGrow=0 fixPoint=1 keepOld=false",
                                 "DG::Dialog::Resize -> resized",
                                 "DG::ModalDialog::PostCloseRequest dialog=7001 response=2",
                                 "DG::ModalDialog::PostCloseRequest -> done",
                             }));
}

// Nothing is formatted without a monitor, and nothing may change for it: the model is the same.
TEST_F(PopUpReportTest, UnwatchedCallsChangeThePopUpExactlyAsWatchedOnesDo) {
    DG::PopUp watchedPopUp{dialog.GetReference(), 4};
    const auto fill = [](DG::PopUp& target) {
        target.DeleteItem(0);
        Fill(target, {"A", "B", "C"});
        target.InsertItem(2);
        target.SetItemText(2, Text("inserted"));
        target.SelectItem(3);
        target.DisableItem(1);
    };
    fill(popUp);
    const std::vector<std::string> unwatched = Entries(popUp);
    const Int16 unwatchedSelection = popUp.GetSelectedItem();
    {
        TranscriptMonitor monitor;
        fill(watchedPopUp);
        EXPECT_FALSE(monitor.lines.empty());
    }
    EXPECT_EQ(Entries(watchedPopUp), unwatched);
    EXPECT_EQ(watchedPopUp.GetSelectedItem(), unwatchedSelection);
    EXPECT_EQ(unwatched, (std::vector<std::string>{"A", "inserted", "B", "C"}));
    EXPECT_EQ(unwatchedSelection, 3);
}

} // namespace
