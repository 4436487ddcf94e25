#include "CallReport.hpp"
#include "DGItem.hpp"
#include "DGPopUpLimit.hpp"
#include "DialogState.hpp"
#include "ModelText.hpp"

#include <cassert>
#include <utility>

namespace DG {

namespace {

bool InRange(const ItemModel& model, Int16 entry) {
    return entry >= 1 && static_cast<std::size_t>(entry) <= model.entries.size();
}

// What the add-on relies on after every change of the entries: the selection follows its entry, so it
// names an entry that is there, or none (0); and the pop-up holds no more entries than its numbers reach.
[[maybe_unused]] bool SelectionNamesAnEntry(const ItemModel& model) {
    return (model.selected == 0 || InRange(model, model.selected)) &&
           model.entries.size() <= static_cast<std::size_t>(PopUpEntryLimit);
}

PopUpEntryModel& EntryAt(ItemModel& model, Int16 entry) {
    return model.entries[static_cast<std::size_t>(entry - 1)];
}

std::string EntryDetails(Int32 panelId, Int16 item, Int16 entry) {
    return ItemCallDetails(panelId, item) + " entry=" + std::to_string(entry);
}

} // namespace

PopUp::PopUp(const Panel& onPanel, Int16 item)
    : Item(onPanel, item, static_cast<UInt16>(ItemKind::PopUp), "DG::PopUp") {}

Int16 PopUp::GetItemCount() const {
    CallReport report("DG::PopUp::GetItemCount", [&] { return ItemCallDetails(GetPanelId(), GetId()); });
    const ItemModel* model = FindItemModel(GetPanelId(), GetId());
    const auto count = static_cast<Int16>(model != nullptr ? model->entries.size() : 0);
    report.Result([&] { return "count=" + std::to_string(count); });
    return count;
}

GS::UniString PopUp::GetItemText(Int16 entry) const {
    CallReport report("DG::PopUp::GetItemText", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model == nullptr || !InRange(*model, entry)) {
        report.Result("text=\"\"");
        return GS::UniString();
    }
    const std::string& text = EntryAt(*model, entry).text;
    report.Result([&] { return "text=" + QuotedText(text); });
    return FromModelText(text);
}

void PopUp::SetItemText(Int16 entry, const GS::UniString& text) {
    std::string utf8 = ModelText(text);
    CallReport report("DG::PopUp::SetItemText", [&] {
        return EntryDetails(GetPanelId(), GetId(), entry) + " text=" + QuotedText(utf8);
    });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model != nullptr && InRange(*model, entry)) {
        EntryAt(*model, entry).text = std::move(utf8);
    }
}

void PopUp::InsertItem(Int16 entry) {
    CallReport report("DG::PopUp::InsertItem", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model == nullptr || entry < 1 || model->entries.size() >= static_cast<std::size_t>(PopUpEntryLimit)) {
        return;
    }
    const std::size_t position = std::min(static_cast<std::size_t>(entry - 1), model->entries.size());
    model->entries.insert(model->entries.begin() + static_cast<std::ptrdiff_t>(position), PopUpEntryModel{});
    if (model->selected > 0 && static_cast<std::size_t>(model->selected) > position) {
        ++model->selected;
    }
    assert(SelectionNamesAnEntry(*model));
}

void PopUp::AppendItem() {
    CallReport report("DG::PopUp::AppendItem", [&] { return ItemCallDetails(GetPanelId(), GetId()); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model != nullptr && model->entries.size() < static_cast<std::size_t>(PopUpEntryLimit)) {
        model->entries.emplace_back();
    }
}

void PopUp::DeleteItem(Int16 entry) {
    CallReport report("DG::PopUp::DeleteItem", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model == nullptr) {
        return;
    }
    if (entry == 0) {
        model->entries.clear();
        model->selected = 0;
        return;
    }
    if (!InRange(*model, entry)) {
        return;
    }
    model->entries.erase(model->entries.begin() + (entry - 1));
    if (model->selected == entry) {
        model->selected = 0;
    } else if (model->selected > entry) {
        --model->selected;
    }
    assert(SelectionNamesAnEntry(*model));
}

void PopUp::SelectItem(Int16 entry) {
    CallReport report("DG::PopUp::SelectItem", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model != nullptr && InRange(*model, entry)) {
        model->selected = entry;
    }
}

Int16 PopUp::GetSelectedItem() const {
    CallReport report("DG::PopUp::GetSelectedItem", [&] { return ItemCallDetails(GetPanelId(), GetId()); });
    const ItemModel* model = FindItemModel(GetPanelId(), GetId());
    const Int16 selected = model != nullptr ? model->selected : 0;
    report.Result([&] { return "selected=" + std::to_string(selected); });
    return selected;
}

void PopUp::DisableItem(Int16 entry) {
    CallReport report("DG::PopUp::DisableItem", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model != nullptr && InRange(*model, entry)) {
        EntryAt(*model, entry).enabled = false;
    }
}

void PopUp::EnableItem(Int16 entry) {
    CallReport report("DG::PopUp::EnableItem", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    if (model != nullptr && InRange(*model, entry)) {
        EntryAt(*model, entry).enabled = true;
    }
}

bool PopUp::IsItemEnabled(Int16 entry) const {
    CallReport report("DG::PopUp::IsItemEnabled", [&] { return EntryDetails(GetPanelId(), GetId(), entry); });
    ItemModel* model = FindItemModel(GetPanelId(), GetId());
    const bool enabled = model != nullptr && InRange(*model, entry) && EntryAt(*model, entry).enabled;
    report.Result(enabled ? "enabled=true" : "enabled=false");
    return enabled;
}

} // namespace DG
