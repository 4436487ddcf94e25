#include "DialogNotifications.hpp"

#include "DGItem.hpp"
#include "DGObservers.hpp"
#include "DGPanel.hpp"
#include "DialogState.hpp"

#include <algorithm>
#include <limits>

namespace DG {

namespace {

bool StillAttached(Int32 panelId, const PanelObserver* observer) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    return state != nullptr &&
           std::ranges::find(state->panelObservers, observer) != state->panelObservers.end();
}

template <typename Call>
void ForEachPanelObserver(Int32 panelId, Call call) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    if (state == nullptr) {
        return;
    }
    const std::vector<PanelObserver*> observers = state->panelObservers;
    for (PanelObserver* observer : observers) {
        if (StillAttached(panelId, observer)) {
            call(*observer);
        }
    }
}

// Calls `call` on every observer of the item that has the observer type `Observer`.
template <typename Observer, typename Call>
void ForEachItemObserver(Int32 panelId, Int16 item, Call call) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    ItemState* itemState = state != nullptr ? state->ItemStateAt(item) : nullptr;
    if (itemState == nullptr) {
        return;
    }
    const std::vector<ItemObserver*> observers = itemState->observers;
    for (ItemObserver* observer : observers) {
        state = DialogRegistry::Instance().Find(panelId);
        itemState = state != nullptr ? state->ItemStateAt(item) : nullptr;
        if (itemState == nullptr) {
            return;
        }
        if (std::ranges::find(itemState->observers, observer) == itemState->observers.end()) {
            continue;
        }
        if (auto* typed = dynamic_cast<Observer*>(observer)) {
            call(*typed);
        }
    }
}

template <typename ItemClass>
ItemClass* SourceObject(Int32 panelId, Int16 item) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    ItemState* itemState = state != nullptr ? state->ItemStateAt(item) : nullptr;
    return itemState != nullptr ? dynamic_cast<ItemClass*>(itemState->object) : nullptr;
}

Int16 Grown(Int16 size, Int16 growth, Int16 minimum) {
    const int grown = std::clamp(size + growth, static_cast<int>(minimum),
                                 static_cast<int>(std::numeric_limits<Int16>::max()));
    return static_cast<Int16>(grown);
}

} // namespace

void NotifyPanelOpened(Int32 panelId) {
    ForEachPanelObserver(panelId, [](PanelObserver& observer) { observer.PanelOpened(); });
}

void NotifyPanelClosed(Int32 panelId) {
    ForEachPanelObserver(panelId, [](PanelObserver& observer) { observer.PanelClosed(); });
}

void NotifyPanelCloseRequested(Int32 panelId) {
    ForEachPanelObserver(panelId, [](PanelObserver& observer) { observer.PanelCloseRequested(); });
}

bool ResizeAndNotify(Int32 panelId, Int16 hGrow, Int16 vGrow) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    if (state == nullptr || !state->valid) {
        return false;
    }
    DialogModel& model = state->model;
    const bool horizontal = model.growType == HGrow || model.growType == HVGrow;
    const bool vertical = model.growType == VGrow || model.growType == HVGrow;
    const Int16 oldWidth = model.width;
    const Int16 oldHeight = model.height;
    if (horizontal) {
        model.width = Grown(model.width, hGrow, state->minWidth);
    }
    if (vertical) {
        model.height = Grown(model.height, vGrow, state->minHeight);
    }
    const auto widthChange = static_cast<Int16>(model.width - oldWidth);
    const auto heightChange = static_cast<Int16>(model.height - oldHeight);
    if (widthChange == 0 && heightChange == 0) {
        return false;
    }
    Panel* panel = state->panel;
    ForEachPanelObserver(panelId, [](PanelObserver& observer) { observer.PanelResizing(); });
    const PanelResizeEvent event(panel, widthChange, heightChange);
    ForEachPanelObserver(panelId, [&event](PanelObserver& observer) { observer.PanelResized(event); });
    ForEachPanelObserver(panelId, [](PanelObserver& observer) { observer.PanelResizeExited(); });
    return true;
}

void NotifyButtonClicked(Int32 panelId, Int16 item) {
    const ButtonClickEvent event(SourceObject<Button>(panelId, item));
    ForEachItemObserver<ButtonItemObserver>(
        panelId, item, [&event](ButtonItemObserver& observer) { observer.ButtonClicked(event); });
}

void NotifyPopUpChanged(Int32 panelId, Int16 item, Int16 previousSelection) {
    const PopUpChangeEvent event(SourceObject<PopUp>(panelId, item), previousSelection);
    ForEachItemObserver<PopUpObserver>(panelId, item,
                                       [&event](PopUpObserver& observer) { observer.PopUpChanged(event); });
}

void NotifyCheckItemChanged(Int32 panelId, Int16 item) {
    const CheckItemChangeEvent event(SourceObject<CheckBox>(panelId, item));
    ForEachItemObserver<CheckItemObserver>(
        panelId, item, [&event](CheckItemObserver& observer) { observer.CheckItemChanged(event); });
}

} // namespace DG
