#include "DGObservers.hpp"

#include "CallReport.hpp"
#include "DGPanel.hpp"
#include "DialogState.hpp"

#include <algorithm>

namespace DG {

PanelResizeEvent::PanelResizeEvent(Panel* panel, Int16 horizontal, Int16 vertical)
    : source(panel), horizontalChange(horizontal), verticalChange(vertical) {}

ButtonClickEvent::ButtonClickEvent(Button* button) : source(button) {}

PopUpChangeEvent::PopUpChangeEvent(PopUp* popUp, Int16 previous)
    : source(popUp), previousSelection(previous) {}

CheckItemChangeEvent::CheckItemChangeEvent(CheckBox* checkBox) : source(checkBox) {}

PanelObserver::~PanelObserver() {
    DialogRegistry::Instance().ForgetPanelObserver(this);
}
void PanelObserver::PanelOpened() {}
void PanelObserver::PanelClosed() {}
void PanelObserver::PanelCloseRequested() {}
void PanelObserver::PanelResizing() {}
void PanelObserver::PanelResized(const PanelResizeEvent& /*event*/) {}
void PanelObserver::PanelResizeExited() {}

ItemObserver::~ItemObserver() {
    DialogRegistry::Instance().ForgetItemObserver(this);
}

ButtonItemObserver::~ButtonItemObserver() = default;
void ButtonItemObserver::ButtonClicked(const ButtonClickEvent& /*event*/) {}

PopUpObserver::~PopUpObserver() = default;
void PopUpObserver::PopUpChanged(const PopUpChangeEvent& /*event*/) {}

CheckItemObserver::~CheckItemObserver() = default;
void CheckItemObserver::CheckItemChanged(const CheckItemChangeEvent& /*event*/) {}

CompoundItemObserver::~CompoundItemObserver() = default;

namespace {

// This object seen as the observer that an item of `kind` notifies, or null when it is not one.
ItemObserver* ObserverFor(CompoundItemObserver& compound, ItemKind kind) {
    switch (kind) {
    case ItemKind::PushButton:
        return dynamic_cast<ButtonItemObserver*>(&compound);
    case ItemKind::PopUp:
        return dynamic_cast<PopUpObserver*>(&compound);
    case ItemKind::CheckBox:
        return dynamic_cast<CheckItemObserver*>(&compound);
    default:
        return nullptr;
    }
}

} // namespace

void CompoundItemObserver::AttachToAllItems(const Panel& panel) {
    CallReport report("DG::CompoundItemObserver::AttachToAllItems",
                      [&] { return "panel=" + std::to_string(panel.GetPanelId()); });
    DialogState* state = DialogRegistry::Instance().Find(panel.GetPanelId());
    if (state == nullptr) {
        return;
    }
    std::size_t attached = 0;
    for (std::size_t index = 0; index < state->items.size(); ++index) {
        ItemObserver* observer = ObserverFor(*this, state->model.items[index].kind);
        std::vector<ItemObserver*>& observers = state->items[index].observers;
        if (observer != nullptr && std::ranges::find(observers, observer) == observers.end()) {
            observers.push_back(observer);
            ++attached;
        }
    }
    report.Result([&] { return "attached=" + std::to_string(attached); });
}

void CompoundItemObserver::DetachFromAllItems(const Panel& panel) {
    CallReport report("DG::CompoundItemObserver::DetachFromAllItems",
                      [&] { return "panel=" + std::to_string(panel.GetPanelId()); });
    DialogState* state = DialogRegistry::Instance().Find(panel.GetPanelId());
    if (state == nullptr) {
        return;
    }
    for (std::size_t index = 0; index < state->items.size(); ++index) {
        if (ItemObserver* observer = ObserverFor(*this, state->model.items[index].kind)) {
            std::erase(state->items[index].observers, observer);
        }
    }
}

} // namespace DG
