#pragma once

#include "DialogModel.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// DG's own record of every live dialog, keyed by panel id. The add-on's objects hold only the id, so
// nothing an add-on object holds owns memory; observers and item objects are the add-on's and are
// kept here as plain pointers, dropped when they are destroyed. One user-interface thread only.
namespace DG {

class Panel;
class Item;
class ItemObserver;
class PanelObserver;

struct ItemState {
    std::vector<ItemObserver*> observers;
    Item* object = nullptr; // the item object built last on this item
};

struct DialogState {
    Int32 panelId = 0;
    bool valid = false;
    Panel* panel = nullptr;
    DialogModel model;
    Int16 minWidth = 0;
    Int16 minHeight = 0;
    std::vector<ItemState> items; // parallel to model.items
    std::vector<PanelObserver*> panelObservers;
    std::optional<Int32> closeResponse;
    bool inModalLoop = false;

    // Null for a number the dialog lacks.
    ItemModel* ItemAt(Int16 number);
    ItemState* ItemStateAt(Int16 number);
};

class DialogRegistry {
public:
    static DialogRegistry& Instance();

    Int32 Add(std::unique_ptr<DialogState> state);
    DialogState* Find(Int32 panelId);
    void Remove(Int32 panelId);

    void ForgetPanelObserver(const PanelObserver* observer);
    void ForgetItemObserver(const ItemObserver* observer);

private:
    std::map<Int32, std::unique_ptr<DialogState>> states;
    Int32 nextPanelId = 1;
};

} // namespace DG

namespace DG {

// The item's model on a valid dialog, or null.
ItemModel* FindItemModel(Int32 panelId, Int16 item);
// "dialog=7001 item=4": how item operations describe their item to the call monitor.
std::string ItemCallDetails(Int32 panelId, Int16 item);

} // namespace DG
