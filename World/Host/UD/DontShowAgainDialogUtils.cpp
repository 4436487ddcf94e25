#include "DontShowAgainDialogUtils.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "DGItem.hpp"
#include "DGObservers.hpp"
#include "DGPanel.hpp"
#include "DebugOutput.hpp"
#include "GSPref.hpp"
#include "UIDriver.hpp"

#include <memory>
#include <optional>
#include <string>

namespace UD {

namespace {

constexpr const char* Operation = "UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog";

// The dialog the host builds from the add-on's layout: its first push button closes it with Accept.
class DontShowAgainDialog : public DG::ModalDialog, public DG::ButtonItemObserver {
public:
    DontShowAgainDialog(GSResModule module, Int16 dialogId, GSResModule iconModule)
        : DG::ModalDialog(module, dialogId, iconModule) {
        const DG::DialogModel* model = DG::FindDialogModel(*this);
        if (model == nullptr) {
            return;
        }
        for (const DG::ItemModel& item : model->items) {
            if (item.kind == DG::ItemKind::PushButton && !closeButton) {
                closeButton = std::make_unique<DG::Button>(GetReference(), item.number);
            } else if (item.kind == DG::ItemKind::CheckBox) {
                checkBox = std::make_unique<DG::CheckBox>(GetReference(), item.number);
            }
        }
        if (closeButton) {
            closeButton->Attach(*this);
        }
    }

    ~DontShowAgainDialog() override {
        if (closeButton) {
            closeButton->Detach(*this);
        }
    }

    void ButtonClicked(const DG::ButtonClickEvent& event) override {
        if (event.GetSource() == closeButton.get()) {
            PostCloseRequest(DG::Accept);
        }
    }

    bool IsTicked() const { return checkBox && checkBox->IsChecked(); }

private:
    std::unique_ptr<DG::Button> closeButton;
    std::unique_ptr<DG::CheckBox> checkBox;
};

std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

GSErrCode Remember(const std::string& key) {
    const UInt8 suppressed = 1;
    return GSPref::WriteBinaryValue(GSPref::RootKeyDomain::CurrentUser, DontShowAgainKey, key.c_str(),
                                    &suppressed, sizeof suppressed);
}

bool IsRemembered(const std::string& key) {
    UInt8 value = 0;
    GSSize size = 0;
    const GSErrCode read = GSPref::ReadBinaryValue(GSPref::RootKeyDomain::CurrentUser, DontShowAgainKey,
                                                   key.c_str(), &value, sizeof value, &size);
    return read == NoError && size == sizeof value && value == 1;
}

void Tell(Int16 dialogId, const std::string& key, bool shown, bool suppressed, bool ticked) {
    if (DG::UIDriver* driver = DG::GetUIDriver()) {
        driver->DontShowAgainDecided(DG::DontShowAgainReport{dialogId, key, shown, suppressed, ticked});
    }
}

} // namespace

bool DontShowAgainDialogUtils::IsSuppressed(const GS::UniString& key) {
    return IsRemembered(Utf8(key));
}

void DontShowAgainDialogUtils::InvokeDontShowAgainDialog(GSResModule dialogResModule, Int16 dialogId,
                                                         const GS::UniString& key,
                                                         GSResModule dialogIconResModule) {
    const std::string utf8Key = Utf8(key);
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer = monitored
                                 ? GS::ReportCall(Operation, ("dialog=" + std::to_string(dialogId) +
                                                              " module=" + std::to_string(dialogResModule) +
                                                              " key=" + GS::CallDetails::Quote(utf8Key))
                                                                 .c_str())
                                 : NoError;
    if (answer != NoError) {
        GS::ReportResult(Operation, "shown=false (refused)");
        return;
    }
    const bool suppressedBefore = IsRemembered(utf8Key);
    bool suppressedAfter = suppressedBefore;
    bool shown = false;
    bool ticked = false;
    if (!suppressedBefore) {
        DG::HostWorkScope hostWork;
        DontShowAgainDialog dialog(dialogResModule, dialogId, dialogIconResModule);
        shown = dialog.IsValid();
        dialog.Invoke();
        ticked = dialog.IsTicked();
    }
    if (ticked) {
        // What counts is what the store holds afterwards: a full disk or an unreadable hive keeps
        // nothing, and the person must not believe the dialog is gone for good.
        const GSErrCode stored = Remember(utf8Key);
        suppressedAfter = IsRemembered(utf8Key);
        if (!suppressedAfter) {
            DBPrintf(
                "The choice not to show dialog %d again could not be stored (error %d): it will be shown "
                "again.\n",
                static_cast<int>(dialogId), static_cast<int>(stored));
        }
    }
    Tell(dialogId, utf8Key, shown, suppressedAfter, ticked);
    if (monitored) {
        GS::ReportResult(Operation, (std::string("shown=") + (shown ? "true" : "false") +
                                     " suppressed=" + (suppressedAfter ? "true" : "false"))
                                        .c_str());
    }
}

} // namespace UD
