#include "ExportSettingsDialog.hpp"

#include "TranslatorSettings/SafTranslatorBridge.hpp"
#include "TranslatorSettings/TranslatorStore.hpp"
#include "UtilityFunctions.hpp"

#include <cassert>
#include <optional>

namespace VELDIO {

namespace {
constexpr Int16 ExportSettingsDialogId = 7001;
// Indexes into the alert string list.
constexpr Int16 PlaceholderText = 8;
constexpr Int16 StoreFailedText = 13;
constexpr Int16 StoreFailedAdvice = 14;

namespace Item {
constexpr Int16 Ok = 1;
constexpr Int16 Cancel = 2;
constexpr Int16 TranslatorLabel = 3;
constexpr Int16 TranslatorPopUp = 4;
constexpr Int16 Details = 5;
constexpr Int16 InfoIcon = 6;
constexpr Int16 InfoText = 7;
constexpr Int16 Separator = 8;
} // namespace Item

// The placeholder entry is recognised by its text alone.
bool IsPlaceholder(const GS::UniString& text) {
    return text.IsEqual(GetResourceString(PlaceholderText), GS::CaseSensitive);
}

GS::UniString SelectedText(const DG::PopUp& popUp) {
    return popUp.GetItemText(popUp.GetSelectedItem());
}

// Entry numbers as the pop-up counts them; the counter is an int so that a last entry of 32767 ends
// the search instead of wrapping around.
Int16 EntryNumber(int entry) {
    return static_cast<Int16>(entry);
}

// The last entry named `name`, or 0: from the names the pop-up was just filled with.
Int16 LastEntryNamed(const GS::Array<GS::UniString>& entries, const GS::UniString& name) {
    // The bridge lists only what the pop-up's entry numbers reach, so that every index is an entry.
    assert(entries.GetSize() <= 32767);
    for (UIndex index = entries.GetSize(); index > 0; --index) {
        if (entries[index - 1].IsEqual(name, GS::CaseSensitive)) {
            return EntryNumber(static_cast<int>(index));
        }
    }
    return 0;
}

// The same read from the pop-up itself. Nothing changes the pop-up during the search, so its count is
// asked once.
Int16 LastEntryNamed(const DG::PopUp& popUp, const GS::UniString& name) {
    const Int16 count = popUp.GetItemCount();
    Int16 match = 0;
    for (int entry = 1; entry <= count; ++entry) {
        if (popUp.GetItemText(EntryNumber(entry)).IsEqual(name, GS::CaseSensitive)) {
            match = EntryNumber(entry);
        }
    }
    return match;
}

Int16 FirstEntryNamed(const DG::PopUp& popUp, const GS::UniString& name) {
    const Int16 count = popUp.GetItemCount();
    for (int entry = 1; entry <= count; ++entry) {
        if (popUp.GetItemText(EntryNumber(entry)).IsEqual(name, GS::CaseSensitive)) {
            return EntryNumber(entry);
        }
    }
    return 0;
}

} // namespace

ExportSettingsDialog::ExportSettingsDialog()
    : DG::ModalDialog(GetDialogResourceModule(), ExportSettingsDialogId, GetDialogResourceModule()),
      cancelButton(GetReference(), Item::Cancel), okButton(GetReference(), Item::Ok),
      translatorLabel(GetReference(), Item::TranslatorLabel),
      translatorPopUp(GetReference(), Item::TranslatorPopUp), detailsButton(GetReference(), Item::Details),
      infoIcon(GetReference(), Item::InfoIcon), infoText(GetReference(), Item::InfoText),
      separator(GetReference(), Item::Separator) {
    Attach(*this);
    AttachToAllItems(GetReference());
    SetGrowType(DG::HGrow);
    SelectStoredTranslator();
    RestoreWidth();
    UpdateOkButton();
}

ExportSettingsDialog::~ExportSettingsDialog() {
    Detach(*this);
    DetachFromAllItems(GetReference());
}

// Selects the last entry named like the stored translator; without one, a disabled placeholder asks
// the user to choose.
void ExportSettingsDialog::SelectStoredTranslator() {
    const GS::UniString storedName = ReadTranslatorName().value_or(GS::UniString());
    // The fill's code is not looked at; what it put into the pop-up, when it says so, is searched
    // without asking the host for every entry again.
    const TranslatorPopUpFill fill = FillTranslatorPopUp(translatorPopUp);
    const Int16 match = fill.entries.has_value() ? LastEntryNamed(*fill.entries, storedName)
                                                 : LastEntryNamed(translatorPopUp, storedName);
    if (match != 0) {
        translatorPopUp.SelectItem(match);
        return;
    }
    translatorPopUp.InsertItem(1);
    translatorPopUp.SelectItem(1);
    translatorPopUp.SetItemText(1, GetResourceString(PlaceholderText));
    translatorPopUp.DisableItem(1);
}

// The host may keep a width for this dialog in the user's data; it is applied only when the host has
// exactly the 2-byte record.
void ExportSettingsDialog::RestoreWidth() {
    constexpr GSSize StoredRecordSize = 2;
    Int16 width = GetWidth();
    if (DGRetrieveUserDataFromRegistry(GS::UniString("ExportSettingsDialogData"), &width, sizeof(width)) ==
        StoredRecordSize) {
        Resize(width, 0, DG::TopLeft, false);
    }
}

void ExportSettingsDialog::UpdateOkButton() {
    const bool realTranslator = !IsPlaceholder(SelectedText(translatorPopUp));
    okButton.SetStatus(realTranslator);
    if (realTranslator && IsPlaceholder(translatorPopUp.GetItemText(1))) {
        translatorPopUp.DeleteItem(1);
    }
}

void ExportSettingsDialog::PanelResized(const DG::PanelResizeEvent& event) {
    const Int16 change = event.GetHorizontalChange();
    translatorLabel.Resize(change, 0);
    translatorPopUp.Resize(change, 0);
    detailsButton.Move(change, 0);
    infoText.Resize(change, 0);
    separator.Resize(change, 0);
    okButton.Move(change, 0);
    cancelButton.Move(change, 0);
}

void ExportSettingsDialog::ButtonClicked(const DG::ButtonClickEvent& event) {
    const DG::Button* source = event.GetSource();
    if (source == &okButton) {
        // A choice the project did not take is not accepted: the dialog stays open with it, so that
        // the user can press OK again or Cancel, knowing the project still holds the earlier one.
        if (WriteTranslatorName(SelectedText(translatorPopUp))) {
            PostCloseRequest(DG::Accept);
        } else {
            ShowErrorAlert(StoreFailedText, StoreFailedAdvice);
        }
    } else if (source == &cancelButton) {
        PostCloseRequest(DG::Cancel);
    } else if (source == &detailsButton) {
        ShowDetailsOfSelection();
    }
}

void ExportSettingsDialog::PopUpChanged(const DG::PopUpChangeEvent& /*event*/) {
    UpdateOkButton();
}

// The SAF add-on may select another translator in its details step: the first entry of that name
// becomes the selection. The list is not refilled, so a translator created meanwhile appears only the
// next time the dialog opens.
void ExportSettingsDialog::ShowDetailsOfSelection() {
    const std::optional<GS::UniString> selected = ShowTranslatorDetails(SelectedText(translatorPopUp));
    if (!selected.has_value()) {
        return;
    }
    if (const Int16 entry = FirstEntryNamed(translatorPopUp, *selected); entry != 0) {
        translatorPopUp.SelectItem(entry);
    }
    UpdateOkButton();
}

} // namespace VELDIO
