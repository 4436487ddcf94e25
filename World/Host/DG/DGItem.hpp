#pragma once

#include "DGExport.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// Item objects that the add-on builds on a panel's items. An item object must be built on an item of
// its own kind: building a DG::Button on a static text (or on an item number the layout lacks) is a
// programming error that ends the process with a message naming both, as the host's assertion does.
// On an invalid dialog (its layout could not be read) items are inert.
namespace DG {

class Panel;
class ItemObserver;

class DG_API Item {
public:
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    void SetStatus(bool enable);
    // Moves the item by (dx, dy) in layout units.
    void Move(Int16 dx, Int16 dy);
    // Grows the item by (dx, dy); a size never goes below 0.
    void Resize(Int16 dx, Int16 dy);
    Int16 GetWidth() const;
    Int16 GetHeight() const;
    const Panel* GetPanel() const { return ownerPanel; }
    Int16 GetId() const { return itemNumber; }

    void Attach(ItemObserver& observer);
    void Detach(ItemObserver& observer);

protected:
    // `kindCode` is the layout's type code that this class requires; `className` names it.
    Item(const Panel& panel, Int16 item, UInt16 kindCode, const char* className);

    Int32 GetPanelId() const { return panelId; }

private:
    const Panel* ownerPanel;
    Int32 panelId;
    Int16 itemNumber;
};

// Items that show a text of their own.
class DG_API TextItem : public Item {
public:
    GS::UniString GetText() const;
    void SetText(const GS::UniString& text);

protected:
    using Item::Item;
};

class DG_API Button : public TextItem {
public:
    Button(const Panel& panel, Int16 item);
};

class DG_API LeftText : public TextItem {
public:
    LeftText(const Panel& panel, Int16 item);
};

class DG_API CheckBox : public TextItem {
public:
    CheckBox(const Panel& panel, Int16 item);
    void Check();
    void SetState(bool checked);
    bool IsChecked() const;
};

class DG_API IconItem : public Item {
public:
    IconItem(const Panel& panel, Int16 item);
};

class DG_API Separator : public Item {
public:
    Separator(const Panel& panel, Int16 item);
};

// Entries are numbered from 1. The selection follows its entry: inserting or deleting an entry
// before the selected one keeps the same entry selected; deleting the selected entry leaves none
// selected. Programmatic changes never notify observers; only a user's choice does.
class DG_API PopUp : public Item {
public:
    PopUp(const Panel& panel, Int16 item);

    Int16 GetItemCount() const;
    // The empty text for 0 or a number out of range.
    GS::UniString GetItemText(Int16 entry) const;
    void SetItemText(Int16 entry, const GS::UniString& text);
    // Inserts an empty, enabled entry before `entry`; a number past the end appends.
    void InsertItem(Int16 entry);
    void AppendItem();
    // Deletes one entry, or all of them for 0.
    void DeleteItem(Int16 entry);
    // Selects an entry (disabled ones too); a number out of range changes nothing.
    void SelectItem(Int16 entry);
    // 0 when nothing is selected.
    Int16 GetSelectedItem() const;
    void DisableItem(Int16 entry);
    void EnableItem(Int16 entry);
    bool IsItemEnabled(Int16 entry) const;
};

} // namespace DG
