#pragma once

#include "DGExport.hpp"
#include "DGTypes.hpp"
#include "GSTypes.hpp"

// Dialogs built from a module's "GSDG" layout (see DialogLayout.hpp). The add-on's objects hold only
// numbers: every dialog's items, texts and observers are kept by DG, which owns them until the dialog
// object is destroyed.
//
// A layout that is missing or does not parse is reported (debug output and the UI driver, with the
// resource, item and byte offset) and leaves an empty, invalid dialog: Invoke answers false without
// showing anything, and items built on it do nothing.
namespace DG {

class PanelObserver;

class DG_API Panel {
public:
    virtual ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The panel that items are built on.
    const Panel& GetReference() const { return *this; }
    void Attach(PanelObserver& observer) const;
    void Detach(PanelObserver& observer) const;
    // The current size, in layout units.
    Int16 GetWidth() const;
    Int16 GetHeight() const;
    bool IsValid() const;

    // Host-side: the number under which DG keeps this panel's state.
    Int32 GetPanelId() const { return panelId; }

protected:
    explicit Panel(Int32 id);

private:
    Int32 panelId;
};

class DG_API Dialog : public Panel {
public:
    ~Dialog() override;
    void SetGrowType(GrowType growType);
    // Grows the dialog by hGrow horizontally and vGrow vertically (negative shrinks), relative to its
    // current size, in the directions its grow type allows (HGrow: vGrow is ignored; NoGrow: nothing
    // changes). The size never goes below the layout's. Panel observers are notified exactly as for a
    // user's resize (PanelResizing, PanelResized with the change made, PanelResizeExited), and not at
    // all when nothing changed. keepOld is accepted and ignored: a dialog here has no saved position.
    void Resize(Int16 hGrow, Int16 vGrow, ResizeFixPoint fixPoint = TopLeft, bool keepOld = false);

protected:
    Dialog(GSResModule dialogResModule, Int16 resId, GSResModule dialogIconResModule);
};

class DG_API ModalDialog : public Dialog {
public:
    // Reads layout `resId` from `dialogResModule`; icons named in it come from `dialogIconResModule`.
    ModalDialog(GSResModule dialogResModule, Int16 resId, GSResModule dialogIconResModule);
    ~ModalDialog() override;

    // Shows the dialog through the host's UI driver and returns when it has been closed: true only
    // when the close response was Accept (1). Without a driver the dialog closes at once with Cancel.
    // A failed call (the host's call monitor refusing "DG::ModalDialog::Invoke") shows nothing and
    // answers false.
    bool Invoke();
    // Ends the modal loop with `response` once the current notification returns. The last request
    // made before the loop looks again wins.
    void PostCloseRequest(ModalResponse response);
};

} // namespace DG
