#pragma once

#include "DG.hpp"
#include "DGLayoutSource.hpp"
#include "LayoutBytes.hpp"
#include "UIDriver.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace DGTest {

constexpr GSResModule TestModule = 5;
constexpr Int16 ExportSettingsNumber = 7001;
constexpr Int16 InformationNumber = 7000;

// Layouts by number, for every module; installed for the object's lifetime.
class TestLayouts : public DG::LayoutSource {
public:
    TestLayouts() {
        layouts[ExportSettingsNumber] = ExportSettingsLayout();
        layouts[InformationNumber] = InformationLayout();
        DG::SetLayoutSource(this);
    }
    ~TestLayouts() override { DG::SetLayoutSource(nullptr); }
    TestLayouts(const TestLayouts&) = delete;
    TestLayouts& operator=(const TestLayouts&) = delete;

    const std::uint8_t* FindLayout(GSResModule, Int32 number, UInt32* size) override {
        const auto found = layouts.find(number);
        if (found == layouts.end()) {
            *size = 0;
            return nullptr;
        }
        *size = static_cast<UInt32>(found->second.size());
        return found->second.data();
    }

    std::map<Int32, std::vector<std::uint8_t>> layouts;
};

// A user who does what the test says once the dialog is up, then (unless the test closed it) cancels.
class ScriptedDriver : public DG::UIDriver {
public:
    using DialogScript = std::function<void(DG::DialogSession&)>;

    ScriptedDriver() { DG::SetUIDriver(this); }
    ~ScriptedDriver() override { DG::SetUIDriver(nullptr); }
    ScriptedDriver(const ScriptedDriver&) = delete;
    ScriptedDriver& operator=(const ScriptedDriver&) = delete;

    Int16 RunAlert(const DG::AlertRequest& request) override {
        alerts.push_back(request);
        return alertAnswer;
    }
    void RunModalDialog(DG::DialogSession& session) override {
        ++dialogsShown;
        openedWith.push_back(session.Model());
        if (script) {
            script(session);
        }
        if (!session.IsCloseRequested()) {
            session.Close(DG::Cancel);
        }
    }
    void DialogRejected(Int32 dialog, const std::string& message) override {
        rejections.push_back(std::to_string(dialog) + ": " + message);
    }

    DialogScript script;
    Int16 alertAnswer = 1;
    int dialogsShown = 0;
    std::vector<DG::DialogModel> openedWith;
    std::vector<DG::AlertRequest> alerts;
    std::vector<std::string> rejections;
};

// A dialog built like the export settings dialog: the same bases in the same order and the same
// members on the same items, with handlers that do what that dialog's handlers do to the items. It
// records what it was told.
class ExportLikeDialog : public DG::ModalDialog,
                         public DG::PanelObserver,
                         public DG::ButtonItemObserver,
                         public DG::CompoundItemObserver,
                         public DG::PopUpObserver {
public:
    ExportLikeDialog()
        : DG::ModalDialog(TestModule, ExportSettingsNumber, TestModule), cancelButton(GetReference(), 2),
          okButton(GetReference(), 1), translatorLabel(GetReference(), 3), translatorPopUp(GetReference(), 4),
          detailsButton(GetReference(), 5), infoIcon(GetReference(), 6), infoText(GetReference(), 7),
          separator(GetReference(), 8) {
        Attach(*this);
        AttachToAllItems(*this);
        SetGrowType(DG::HGrow);
    }
    ~ExportLikeDialog() override {
        Detach(*this);
        DetachFromAllItems(*this);
    }

    void PanelResized(const DG::PanelResizeEvent& event) override {
        resizes.push_back(event.GetHorizontalChange());
        const Int16 change = event.GetHorizontalChange();
        translatorLabel.Resize(change, 0);
        translatorPopUp.Resize(change, 0);
        detailsButton.Move(change, 0);
        infoText.Resize(change, 0);
        separator.Resize(change, 0);
        okButton.Move(change, 0);
        cancelButton.Move(change, 0);
    }
    void ButtonClicked(const DG::ButtonClickEvent& event) override {
        clickSources.push_back(event.GetSource());
        if (event.GetSource() == &okButton) {
            PostCloseRequest(DG::Accept);
        } else if (event.GetSource() == &cancelButton) {
            PostCloseRequest(DG::Cancel);
        }
    }
    void PopUpChanged(const DG::PopUpChangeEvent& event) override {
        popUpChanges.push_back(event.GetPreviousSelection());
        popUpSources.push_back(event.GetSource());
    }

    DG::Button cancelButton;
    DG::Button okButton;
    DG::LeftText translatorLabel;
    DG::PopUp translatorPopUp;
    DG::Button detailsButton;
    DG::IconItem infoIcon;
    DG::LeftText infoText;
    DG::Separator separator;

    std::vector<Int16> resizes;
    std::vector<const DG::Button*> clickSources;
    std::vector<Int16> popUpChanges;
    std::vector<const DG::PopUp*> popUpSources;
};

inline GS::UniString Text(const char* utf8) {
    return GS::UniString(utf8, CC_UTF8);
}

inline std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

// Appends entries with these texts.
inline void Fill(DG::PopUp& popUp, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        popUp.AppendItem();
        popUp.SetItemText(popUp.GetItemCount(), Text(text.c_str()));
    }
}

inline std::vector<std::string> Entries(const DG::PopUp& popUp) {
    std::vector<std::string> texts;
    for (Int16 entry = 1; entry <= popUp.GetItemCount(); ++entry) {
        texts.push_back(Utf8(popUp.GetItemText(entry)));
    }
    return texts;
}

inline const DG::ItemModel& ItemOf(const DG::DialogModel& model, Int16 number) {
    return model.items.at(static_cast<std::size_t>(number - 1));
}

} // namespace DGTest
