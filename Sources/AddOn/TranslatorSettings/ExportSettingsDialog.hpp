#pragma once

#include "DG.hpp"

namespace VELDIO {

// "VELD Engineer Export Settings": the user picks the SAF translator that exports the model for the
// analysis application. Built from dialog layout 7001; everything it needs happens in construction,
// so the dialog is complete before Invoke shows it.
class ExportSettingsDialog : public DG::ModalDialog,
                             public DG::PanelObserver,
                             public DG::ButtonItemObserver,
                             public DG::CompoundItemObserver,
                             public DG::PopUpObserver {
public:
    ExportSettingsDialog();
    ~ExportSettingsDialog() override;

private:
    void PanelResized(const DG::PanelResizeEvent& event) override;
    void ButtonClicked(const DG::ButtonClickEvent& event) override;
    void PopUpChanged(const DG::PopUpChangeEvent& event) override;

    void SelectStoredTranslator();
    void RestoreWidth();
    void ShowDetailsOfSelection();
    // OK is offered only for a real translator; once one is chosen the placeholder entry goes away.
    void UpdateOkButton();

    // Built in this order, each on its item of layout 7001.
    DG::Button cancelButton;
    DG::Button okButton;
    DG::LeftText translatorLabel;
    DG::PopUp translatorPopUp;
    DG::Button detailsButton;
    DG::IconItem infoIcon;
    DG::LeftText infoText;
    DG::Separator separator;
};

} // namespace VELDIO
