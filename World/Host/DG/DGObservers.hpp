#pragma once

#include "DGEvents.hpp"
#include "DGExport.hpp"

// Observers are the add-on's objects; DG keeps only pointers to them. An observer that is destroyed
// while still attached is forgotten by DG, so no notification reaches it afterwards. Notifications
// come on the user-interface thread, inside Invoke's modal loop or inside the call that caused them
// (a programmatic Dialog::Resize).
namespace DG {

class Panel;

class DG_API PanelObserver {
public:
    virtual ~PanelObserver();
    virtual void PanelOpened();
    virtual void PanelClosed();
    // The user asked to close the dialog (a `close` of the driver); the close follows.
    virtual void PanelCloseRequested();
    virtual void PanelResizing();
    virtual void PanelResized(const PanelResizeEvent& event);
    virtual void PanelResizeExited();
};

class DG_API ItemObserver {
public:
    virtual ~ItemObserver();
};

class DG_API ButtonItemObserver : public ItemObserver {
public:
    ~ButtonItemObserver() override;
    virtual void ButtonClicked(const ButtonClickEvent& event);
};

class DG_API PopUpObserver : public ItemObserver {
public:
    ~PopUpObserver() override;
    // Only a user's choice notifies; PopUp::SelectItem does not.
    virtual void PopUpChanged(const PopUpChangeEvent& event);
};

class DG_API CheckItemObserver : public ItemObserver {
public:
    ~CheckItemObserver() override;
    virtual void CheckItemChanged(const CheckItemChangeEvent& event);
};

// A base of a class that also derives from the item observers it wants: AttachToAllItems attaches
// the object, through the matching observer base, to every item present on the panel at that
// moment (buttons to its ButtonItemObserver, pop-ups to its PopUpObserver, check boxes to its
// CheckItemObserver; items whose observer it lacks are left out).
class DG_API CompoundItemObserver {
public:
    virtual ~CompoundItemObserver();
    void AttachToAllItems(const Panel& panel);
    void DetachFromAllItems(const Panel& panel);
};

} // namespace DG
