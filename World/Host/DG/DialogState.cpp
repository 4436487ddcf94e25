#include "DialogState.hpp"

#include <algorithm>

namespace DG {

ItemModel* DialogState::ItemAt(Int16 number) {
    if (number < 1 || static_cast<std::size_t>(number) > model.items.size()) {
        return nullptr;
    }
    return &model.items[static_cast<std::size_t>(number - 1)];
}

ItemState* DialogState::ItemStateAt(Int16 number) {
    if (number < 1 || static_cast<std::size_t>(number) > items.size()) {
        return nullptr;
    }
    return &items[static_cast<std::size_t>(number - 1)];
}

DialogRegistry& DialogRegistry::Instance() {
    static DialogRegistry registry;
    return registry;
}

Int32 DialogRegistry::Add(std::unique_ptr<DialogState> state) {
    const Int32 id = nextPanelId++;
    state->panelId = id;
    states[id] = std::move(state);
    return id;
}

DialogState* DialogRegistry::Find(Int32 panelId) {
    const auto found = states.find(panelId);
    return found != states.end() ? found->second.get() : nullptr;
}

void DialogRegistry::Remove(Int32 panelId) {
    states.erase(panelId);
}

void DialogRegistry::ForgetPanelObserver(const PanelObserver* observer) {
    for (auto& [id, state] : states) {
        std::erase(state->panelObservers, observer);
    }
}

void DialogRegistry::ForgetItemObserver(const ItemObserver* observer) {
    for (auto& [id, state] : states) {
        for (ItemState& item : state->items) {
            std::erase(item.observers, observer);
        }
    }
}

} // namespace DG

namespace DG {

std::string ItemCallDetails(Int32 panelId, Int16 item) {
    const DialogState* state = DialogRegistry::Instance().Find(panelId);
    return "dialog=" + std::to_string(state != nullptr ? state->model.number : 0) +
           " item=" + std::to_string(item);
}

} // namespace DG
