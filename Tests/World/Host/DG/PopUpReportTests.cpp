#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace DGTest;

using Fields = std::map<std::string, std::string>;

// A call's details or result as a reader of hostsim's transcript takes them apart: NAME=VALUE words
// separated by spaces, a VALUE in double quotes with \" \\ \n \r \t escaped; a bare word ("done", a
// call that answers nothing) is a NAME with an empty VALUE.
Fields ParseFields(const std::string& text) {
    Fields fields;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t nameEnd = text.find_first_of("= ", at);
        std::string name = text.substr(at, nameEnd - at);
        std::string value;
        at = nameEnd;
        if (at < text.size() && text[at] == '=') {
            ++at;
            if (at < text.size() && text[at] == '"') {
                for (++at; at < text.size() && text[at] != '"'; ++at) {
                    char unit = text[at];
                    if (unit == '\\' && at + 1 < text.size()) {
                        const char escaped = text[++at];
                        unit = escaped == 'n'   ? '\n'
                               : escaped == 'r' ? '\r'
                               : escaped == 't' ? '\t'
                                                : escaped;
                    }
                    value += unit;
                }
                ++at; // the closing quote
            } else {
                const std::size_t valueEnd = std::min(text.find(' ', at), text.size());
                value = text.substr(at, valueEnd - at);
                at = valueEnd;
            }
        }
        EXPECT_TRUE(fields.emplace(std::move(name), std::move(value)).second) << "a field twice in: " << text;
        at = std::min(text.find_first_not_of(' ', at), text.size());
    }
    return fields;
}

// Each call and its result, taken apart.
struct Report {
    std::string operation;
    Fields details;
    std::string resultOf; // the operation the result line named
    Fields result;
};

class ReportMonitor : public HostTestSupport::RecordingMonitor {
public:
    GSErrCode OnCall(const char* operation, const char* details) override {
        reports.push_back({operation, ParseFields(details), {}, {}});
        return RecordingMonitor::OnCall(operation, details);
    }
    void OnResult(const char* operation, const char* result) override {
        if (reports.empty() || !reports.back().resultOf.empty()) {
            reports.push_back({}); // a result without its call: fails the count below
        }
        reports.back().resultOf = operation;
        reports.back().result = ParseFields(result);
    }
    std::vector<Report> reports;
};

class PopUpReportTest : public ::testing::Test {
protected:
    TestLayouts layouts;
    DG::ModalDialog dialog{TestModule, ExportSettingsNumber, TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
};

// hostsim's transcript shows every dialog call the add-on makes, with its arguments and its result, and
// tests and people read the add-on's doing from it. So each call must be reported once, under the
// host's name for it, with the dialog and item it addressed, the arguments it was given (texts exactly,
// whatever they hold), and the value the caller got back; a call that answers nothing says "done".
TEST_F(PopUpReportTest, EveryDialogCallIsReportedOnceWithItsArgumentsAndWhatItsCallerGot) {
    const std::string awkward = "Say \"hi\"\t\\ \u00dc\r\nnext";
    const std::string dialogNumber = std::to_string(ExportSettingsNumber);
    const Fields done{{"done", ""}};
    const auto Item = [&](Int16 item, Fields more = {}) {
        more.emplace("dialog", dialogNumber);
        more.emplace("item", std::to_string(item));
        return more;
    };
    const auto Entry = [&](Int16 entry, Fields more = {}) {
        more.emplace("entry", std::to_string(entry));
        return Item(4, std::move(more));
    };
    DG::Button details(dialog.GetReference(), 5);
    Fill(popUp, {"first", "second"});
    struct Call {
        std::string operation;
        Fields details;
        std::function<Fields()> call; // makes the call; answers the result fields its return value implies
    };
    const std::vector<Call> calls = {
        {"DG::PopUp::AppendItem", Item(4), [&] { return popUp.AppendItem(), done; }},
        {"DG::PopUp::SetItemText", Entry(3, {{"text", awkward}}),
         [&] { return popUp.SetItemText(3, Text(awkward.c_str())), done; }},
        {"DG::PopUp::GetItemCount", Item(4),
         [&] {
             return Fields{{"count", std::to_string(popUp.GetItemCount())}};
         }},
        {"DG::PopUp::GetItemText", Entry(3),
         [&] {
             return Fields{{"text", Utf8(popUp.GetItemText(3))}};
         }},
        {"DG::PopUp::GetItemText", Entry(7),
         [&] {
             return Fields{{"text", Utf8(popUp.GetItemText(7))}};
         }},
        {"DG::PopUp::InsertItem", Entry(1), [&] { return popUp.InsertItem(1), done; }},
        {"DG::PopUp::SelectItem", Entry(2), [&] { return popUp.SelectItem(2), done; }},
        {"DG::PopUp::GetSelectedItem", Item(4),
         [&] {
             return Fields{{"selected", std::to_string(popUp.GetSelectedItem())}};
         }},
        {"DG::PopUp::DisableItem", Entry(1), [&] { return popUp.DisableItem(1), done; }},
        {"DG::PopUp::IsItemEnabled", Entry(1),
         [&] {
             return Fields{{"enabled", popUp.IsItemEnabled(1) ? "true" : "false"}};
         }},
        {"DG::PopUp::EnableItem", Entry(2), [&] { return popUp.EnableItem(2), done; }},
        {"DG::PopUp::DeleteItem", Entry(2), [&] { return popUp.DeleteItem(2), done; }},
        {"DG::PopUp::DeleteItem", Entry(0), [&] { return popUp.DeleteItem(0), done; }},
        {"DG::Item::SetStatus", Item(5, {{"status", "false"}}),
         [&] { return details.SetStatus(false), done; }},
        {"DG::Item::Move", Item(5, {{"dx", "3"}, {"dy", "-2"}}), [&] { return details.Move(3, -2), done; }},
        {"DG::Item::Resize", Item(5, {{"dx", "-1"}, {"dy", "4"}}),
         [&] { return details.Resize(-1, 4), done; }},
        {"DG::Item::SetText", Item(5, {{"text", awkward}}),
         [&] { return details.SetText(Text(awkward.c_str())), done; }},
        {"DG::Panel::GetWidth",
         {{"dialog", dialogNumber}},
         [&] {
             return Fields{{"width", std::to_string(dialog.GetWidth())}};
         }},
        {"DG::Dialog::SetGrowType",
         {{"dialog", dialogNumber}, {"growType", std::to_string(int{DG::HGrow})}},
         [&] { return dialog.SetGrowType(DG::HGrow), done; }},
        {"DG::Dialog::Resize",
         {{"dialog", dialogNumber},
          {"hGrow", "40"},
          {"vGrow", "0"},
          {"fixPoint", std::to_string(int{DG::TopLeft})},
          {"keepOld", "false"}},
         [&] {
             const Int16 widthBefore = FindDialogModel(dialog)->width;
             dialog.Resize(40, 0, DG::TopLeft, false);
             return Fields{{FindDialogModel(dialog)->width != widthBefore ? "resized" : "unchanged", ""}};
         }},
        {"DG::ModalDialog::PostCloseRequest",
         {{"dialog", dialogNumber}, {"response", std::to_string(int{DG::Cancel})}},
         [&] { return dialog.PostCloseRequest(DG::Cancel), done; }},
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(call.operation);
        ReportMonitor monitor;
        const Fields result = call.call();
        ASSERT_EQ(monitor.reports.size(), 1u) << "one call, one report";
        const Report& report = monitor.reports[0];
        EXPECT_EQ(report.operation, call.operation);
        EXPECT_EQ(report.resultOf, call.operation);
        EXPECT_EQ(report.details, call.details);
        EXPECT_EQ(report.result, result);
    }
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
        ReportMonitor monitor;
        fill(watchedPopUp);
        EXPECT_FALSE(monitor.reports.empty());
    }
    EXPECT_EQ(Entries(watchedPopUp), unwatched);
    EXPECT_EQ(watchedPopUp.GetSelectedItem(), unwatchedSelection);
    EXPECT_EQ(unwatched, (std::vector<std::string>{"A", "inserted", "B", "C"}));
    EXPECT_EQ(unwatchedSelection, 3);
}

} // namespace
