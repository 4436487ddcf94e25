#include "DialogSessionImpl.hpp"

#include "DialogNotifications.hpp"
#include "DialogState.hpp"

namespace DG {

DialogSession::~DialogSession() = default;

DialogSessionImpl::DialogSessionImpl(Int32 id) : panelId(id) {}

DialogState& DialogSessionImpl::State() const {
    // The dialog object lives on the caller's stack for the whole of Invoke, which outlives us.
    return *DialogRegistry::Instance().Find(panelId);
}

const DialogModel& DialogSessionImpl::Model() const {
    const DialogState* state = DialogRegistry::Instance().Find(panelId);
    return state != nullptr ? state->model : closedModel;
}

bool DialogSessionImpl::IsCloseRequested() const {
    const DialogState* state = DialogRegistry::Instance().Find(panelId);
    return state == nullptr || state->closeResponse.has_value();
}

Int32 DialogSessionImpl::CloseResponse() const {
    const DialogState* state = DialogRegistry::Instance().Find(panelId);
    return state != nullptr ? state->closeResponse.value_or(0) : Cancel;
}

bool DialogSessionImpl::Refuse(std::string reason) {
    refusal = std::move(reason);
    return false;
}

ItemModel* DialogSessionImpl::UsableItem(Int16 item, ItemKind kind, const char* action) {
    ItemModel* model = State().ItemAt(item);
    if (model == nullptr) {
        Refuse("the dialog has no item " + std::to_string(item));
        return nullptr;
    }
    if (model->kind != kind) {
        Refuse("item " + std::to_string(item) + " is a " + ItemKindName(model->kind) + ": it cannot be " +
               action);
        return nullptr;
    }
    if (!model->enabled) {
        Refuse("item " + std::to_string(item) + " (" + ItemKindName(model->kind) + ") is disabled");
        return nullptr;
    }
    return model;
}

bool DialogSessionImpl::Select(Int16 item, Int16 entry) {
    ItemModel* popUp = UsableItem(item, ItemKind::PopUp, "selected from");
    if (popUp == nullptr) {
        return false;
    }
    if (entry < 1 || static_cast<std::size_t>(entry) > popUp->entries.size()) {
        return Refuse("pop-up " + std::to_string(item) + " has no entry " + std::to_string(entry) +
                      " (it has " + std::to_string(popUp->entries.size()) + ")");
    }
    if (!popUp->entries[static_cast<std::size_t>(entry - 1)].enabled) {
        return Refuse("entry " + std::to_string(entry) + " of pop-up " + std::to_string(item) +
                      " is disabled");
    }
    const Int16 previous = popUp->selected;
    if (previous == entry) {
        return true;
    }
    popUp->selected = entry;
    NotifyPopUpChanged(panelId, item, previous);
    return true;
}

bool DialogSessionImpl::Click(Int16 item) {
    const ItemModel* model = State().ItemAt(item);
    if (model != nullptr && model->kind == ItemKind::CheckBox) {
        return Check(item, !model->checked);
    }
    if (UsableItem(item, ItemKind::PushButton, "clicked") == nullptr) {
        return false;
    }
    NotifyButtonClicked(panelId, item);
    return true;
}

bool DialogSessionImpl::Check(Int16 item, bool checked) {
    ItemModel* box = UsableItem(item, ItemKind::CheckBox, "checked");
    if (box == nullptr) {
        return false;
    }
    if (box->checked == checked) {
        return true;
    }
    box->checked = checked;
    NotifyCheckItemChanged(panelId, item);
    return true;
}

bool DialogSessionImpl::Resize(Int16 dx, Int16 dy) {
    const GrowType growType = State().model.growType;
    if (growType == NoGrow) {
        return Refuse("the dialog cannot be resized");
    }
    if ((growType == HGrow && dx == 0) || (growType == VGrow && dy == 0)) {
        return Refuse(growType == HGrow ? "the dialog can only be resized horizontally"
                                        : "the dialog can only be resized vertically");
    }
    ResizeAndNotify(panelId, dx, dy);
    return true;
}

bool DialogSessionImpl::Close(Int32 response) {
    if (response < 1) {
        return Refuse("a close response is a positive number");
    }
    NotifyPanelCloseRequested(panelId);
    if (DialogState* state = DialogRegistry::Instance().Find(panelId);
        state != nullptr && !state->closeResponse) {
        state->closeResponse = response;
    }
    return true;
}

} // namespace DG
