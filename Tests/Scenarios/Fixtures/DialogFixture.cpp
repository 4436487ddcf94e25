#include "DG.hpp"
#include "DontShowAgainDialogUtils.hpp"
#include "FixtureEntryPoints.hpp"
#include "RS.hpp"

#include <initializer_list>

#if !defined(_WIN32)
#include "Win32Compat.hpp"
#endif

// An add-on that shows what the host's UI driver must handle, one thing per item of its menu 100:
//   1 an error alert (DGAlert type -1, one button); the handler answers the button pressed
//   2 a warning with two buttons; its first button opens the settings dialog of item 4
//   3 the don't-show-again dialog 7000 under the key "FIXTUREINFORMATIONDIALOG"
//   4 the settings dialog 7100: a pop-up of three colours (the third disabled, none chosen), OK
//     (enabled once a colour is chosen) and Cancel that close it, a check box, and a width restored from the
//     user data "FixtureDialogData"; the handler answers 1 when it was closed with OK, 2 otherwise.
namespace {

constexpr Int16 MenuList = 100;
constexpr Int16 PromptList = 101;

UInt8 table[HostFunctionTableSize];
GSResModule resources = InvalidResModule;

template <typename Proc>
Proc Slot(std::size_t offset) {
    Proc proc = nullptr;
    std::memcpy(&proc, table + offset, sizeof proc);
    return proc;
}

GS::UniString Text(const char* text) {
    return GS::UniString(text, CC_UTF8);
}

class SettingsDialog : public DG::ModalDialog,
                       public DG::PanelObserver,
                       public DG::ButtonItemObserver,
                       public DG::CompoundItemObserver,
                       public DG::PopUpObserver {
public:
    SettingsDialog()
        : DG::ModalDialog(resources, 7100, resources), okButton(GetReference(), 1),
          cancelButton(GetReference(), 2), label(GetReference(), 3), colours(GetReference(), 4),
          remember(GetReference(), 5), icon(GetReference(), 6), separator(GetReference(), 7) {
        Attach(*this);
        AttachToAllItems(*this);
        SetGrowType(DG::HGrow);
        for (const char* colour : {"Red", "Green", "Blue"}) {
            colours.AppendItem();
            colours.SetItemText(colours.GetItemCount(), Text(colour));
        }
        colours.DisableItem(3);
        okButton.SetStatus(false);
        Int16 width = GetWidth();
        if (DGRetrieveUserDataFromRegistry(Text("FixtureDialogData"), &width, sizeof width) == 2) {
            Resize(width, 0, DG::TopLeft, false);
        }
    }
    ~SettingsDialog() override {
        Detach(*this);
        DetachFromAllItems(*this);
    }

    void PanelResized(const DG::PanelResizeEvent& event) override {
        label.Resize(event.GetHorizontalChange(), 0);
        colours.Resize(event.GetHorizontalChange(), 0);
        okButton.Move(event.GetHorizontalChange(), 0);
        cancelButton.Move(event.GetHorizontalChange(), 0);
        separator.Resize(event.GetHorizontalChange(), 0);
    }
    void ButtonClicked(const DG::ButtonClickEvent& event) override {
        if (event.GetSource() == &okButton) {
            PostCloseRequest(DG::Accept);
        } else if (event.GetSource() == &cancelButton) {
            PostCloseRequest(DG::Cancel);
        }
    }
    // OK needs a chosen colour, as the add-on's OK needs a chosen translator.
    void PopUpChanged(const DG::PopUpChangeEvent&) override {
        okButton.SetStatus(colours.GetSelectedItem() != 0);
    }

private:
    DG::Button okButton;
    DG::Button cancelButton;
    DG::LeftText label;
    DG::PopUp colours;
    DG::CheckBox remember;
    DG::IconItem icon;
    DG::Separator separator;
};

GSErrCode RunSettings() {
    SettingsDialog dialog;
    return dialog.Invoke() ? 1 : 2;
}

GSErrCode HOST_CALL Handler(const MenuCommandRecord* command) {
    switch (command->itemIndex) {
    case 1:
        return DGAlert(-1, Text("Fixture error"), Text("Something went wrong."), Text(""), Text("OK"),
                       Text(""), Text(""));
    case 2:
        if (DG::WarningAlert(Text("Fixture warning"), Text("- Fixture Settings"), Text("Fixture Settings..."),
                             Text("Cancel"), Text("")) == DG::FirstButton) {
            return RunSettings();
        }
        return 0;
    case 3:
        UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog(resources, 7000,
                                                                Text("FIXTUREINFORMATIONDIALOG"), resources);
        return 0;
    case 4:
        return RunSettings();
    default:
        return 0;
    }
}

HINSTANCE ThisModule() {
#if defined(_WIN32)
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Handler), &module);
    return module;
#else
    return Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&Handler));
#endif
}

GSErrCode HOST_CALL Register(void*) {
    MenuRegistrationRecord menu{};
    menu.menuListId = MenuList;
    menu.promptListId = PromptList;
    menu.menuCode = 18;
    return Slot<HostMenuRegisterProc>(HostSlot::MenuRegister)(&menu);
}

GSErrCode HOST_CALL Start(AddOnToken token) {
    resources = RSInitModuleImageCache(ThisModule());
    return Slot<HostMenuHandlerInstallProc>(HostSlot::MenuHandlerInstall)(token, MenuList, Handler);
}

GSErrCode HOST_CALL Release() {
    RSRemoveModuleImageCache(resources);
    resources = InvalidResModule;
    return NoError;
}

} // namespace

ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record) {
    Fixture::WriteRecord(record, EntryPointRecordVersion, Fixture::QuietDescribe, Register, Start, Release);
}

ADDON_EXPORT Int32 HOST_CALL SetImportedFuncAddrs(const void* hostTable) {
    std::memcpy(table, hostTable, sizeof table);
    return 0;
}
