#include "DGItem.hpp"

#include "CallReport.hpp"
#include "DGPanel.hpp"
#include "DialogState.hpp"
#include "ModelText.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace DG {

namespace {

[[noreturn]] void ItemAssertion(const std::string& message) {
    std::fprintf(stderr, "DG assertion: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

DialogState* ValidState(Int32 panelId) {
    DialogState* state = DialogRegistry::Instance().Find(panelId);
    return state != nullptr && state->valid ? state : nullptr;
}

} // namespace

ItemModel* FindItemModel(Int32 panelId, Int16 item) {
    DialogState* state = ValidState(panelId);
    return state != nullptr ? state->ItemAt(item) : nullptr;
}

Item::Item(const Panel& owner, Int16 item, UInt16 kindCode, const char* className)
    : ownerPanel(&owner), panelId(owner.GetPanelId()), itemNumber(item) {
    DialogState* state = ValidState(panelId);
    if (state == nullptr) {
        return;
    }
    const auto kind = static_cast<ItemKind>(kindCode);
    const ItemModel* model = state->ItemAt(item);
    if (model == nullptr) {
        ItemAssertion(std::string(className) + " (" + ItemKindName(kind) + ") built on item " +
                      std::to_string(item) + " of dialog " + std::to_string(state->model.number) +
                      ", which has only " + std::to_string(state->model.items.size()) + " items");
    }
    if (model->kind != kind) {
        ItemAssertion(std::string(className) + " (" + ItemKindName(kind) + ") built on item " +
                      std::to_string(item) + " of dialog " + std::to_string(state->model.number) +
                      ", which is a " + ItemKindName(model->kind));
    }
    state->ItemStateAt(item)->object = this;
}

Item::~Item() {
    if (DialogState* state = ValidState(panelId)) {
        ItemState* itemState = state->ItemStateAt(itemNumber);
        if (itemState != nullptr && itemState->object == this) {
            itemState->object = nullptr;
        }
    }
}

void Item::SetStatus(bool enable) {
    CallReport report("DG::Item::SetStatus", [&] {
        return ItemCallDetails(panelId, itemNumber) + " status=" + (enable ? "true" : "false");
    });
    if (ItemModel* model = FindItemModel(panelId, itemNumber)) {
        model->enabled = enable;
    }
}

void Item::Move(Int16 dx, Int16 dy) {
    CallReport report("DG::Item::Move", [&] {
        return ItemCallDetails(panelId, itemNumber) + " dx=" + std::to_string(dx) +
               " dy=" + std::to_string(dy);
    });
    if (ItemModel* model = FindItemModel(panelId, itemNumber)) {
        model->left = static_cast<Int16>(model->left + dx);
        model->top = static_cast<Int16>(model->top + dy);
    }
}

void Item::Resize(Int16 dx, Int16 dy) {
    CallReport report("DG::Item::Resize", [&] {
        return ItemCallDetails(panelId, itemNumber) + " dx=" + std::to_string(dx) +
               " dy=" + std::to_string(dy);
    });
    if (ItemModel* model = FindItemModel(panelId, itemNumber)) {
        model->width = static_cast<Int16>(std::max(0, model->width + dx));
        model->height = static_cast<Int16>(std::max(0, model->height + dy));
    }
}

Int16 Item::GetWidth() const {
    const ItemModel* model = FindItemModel(panelId, itemNumber);
    return model != nullptr ? model->width : 0;
}

Int16 Item::GetHeight() const {
    const ItemModel* model = FindItemModel(panelId, itemNumber);
    return model != nullptr ? model->height : 0;
}

void Item::Attach(ItemObserver& observer) {
    DialogState* state = ValidState(panelId);
    ItemState* itemState = state != nullptr ? state->ItemStateAt(itemNumber) : nullptr;
    if (itemState != nullptr &&
        std::ranges::find(itemState->observers, &observer) == itemState->observers.end()) {
        itemState->observers.push_back(&observer);
    }
}

void Item::Detach(ItemObserver& observer) {
    DialogState* state = ValidState(panelId);
    if (ItemState* itemState = state != nullptr ? state->ItemStateAt(itemNumber) : nullptr) {
        std::erase(itemState->observers, &observer);
    }
}

GS::UniString TextItem::GetText() const {
    const ItemModel* model = FindItemModel(GetPanelId(), GetId());
    return model != nullptr ? FromModelText(model->text) : GS::UniString();
}

void TextItem::SetText(const GS::UniString& text) {
    std::string utf8 = ModelText(text);
    CallReport report("DG::Item::SetText",
                      [&] { return ItemCallDetails(GetPanelId(), GetId()) + " text=" + QuotedText(utf8); });
    if (ItemModel* model = FindItemModel(GetPanelId(), GetId())) {
        model->text = std::move(utf8);
    }
}

Button::Button(const Panel& onPanel, Int16 item)
    : TextItem(onPanel, item, static_cast<UInt16>(ItemKind::PushButton), "DG::Button") {}

LeftText::LeftText(const Panel& onPanel, Int16 item)
    : TextItem(onPanel, item, static_cast<UInt16>(ItemKind::StaticText), "DG::LeftText") {}

CheckBox::CheckBox(const Panel& onPanel, Int16 item)
    : TextItem(onPanel, item, static_cast<UInt16>(ItemKind::CheckBox), "DG::CheckBox") {}

void CheckBox::Check() {
    SetState(true);
}

void CheckBox::SetState(bool checked) {
    CallReport report("DG::CheckBox::SetState", [&] {
        return ItemCallDetails(GetPanelId(), GetId()) + " checked=" + (checked ? "true" : "false");
    });
    if (ItemModel* model = FindItemModel(GetPanelId(), GetId())) {
        model->checked = checked;
    }
}

bool CheckBox::IsChecked() const {
    const ItemModel* model = FindItemModel(GetPanelId(), GetId());
    return model != nullptr && model->checked;
}

IconItem::IconItem(const Panel& onPanel, Int16 item)
    : Item(onPanel, item, static_cast<UInt16>(ItemKind::Icon), "DG::IconItem") {}

Separator::Separator(const Panel& onPanel, Int16 item)
    : Item(onPanel, item, static_cast<UInt16>(ItemKind::Separator), "DG::Separator") {}

} // namespace DG
