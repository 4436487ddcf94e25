#pragma once

#include "DGExport.hpp"
#include "GSTypes.hpp"

namespace DG {

class Panel;
class Item;
class Button;
class PopUp;
class CheckBox;

// Events live only for the notification that carries them.

class DG_API PanelResizeEvent {
public:
    PanelResizeEvent(Panel* source, Int16 horizontalChange, Int16 verticalChange);
    Panel* GetSource() const { return source; }
    // What the size changed by, in layout units; negative for shrinking.
    Int16 GetHorizontalChange() const { return horizontalChange; }
    Int16 GetVerticalChange() const { return verticalChange; }

private:
    Panel* source;
    Int16 horizontalChange;
    Int16 verticalChange;
};

// The source of an item event is the very item object that the dialog built on that item number,
// so it can be compared with the dialog's members; null when no object is built on the item.
class DG_API ButtonClickEvent {
public:
    explicit ButtonClickEvent(Button* source);
    Button* GetSource() const { return source; }

private:
    Button* source;
};

class DG_API PopUpChangeEvent {
public:
    PopUpChangeEvent(PopUp* source, Int16 previousSelection);
    PopUp* GetSource() const { return source; }
    // The entry that was selected before (0 when none was).
    Int16 GetPreviousSelection() const { return previousSelection; }

private:
    PopUp* source;
    Int16 previousSelection;
};

class DG_API CheckItemChangeEvent {
public:
    explicit CheckItemChangeEvent(CheckBox* source);
    CheckBox* GetSource() const { return source; }

private:
    CheckBox* source;
};

} // namespace DG
