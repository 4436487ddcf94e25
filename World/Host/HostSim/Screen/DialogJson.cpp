#include "Screen/DialogJson.hpp"

namespace HostSim {

namespace {

Json ItemFields(const DG::ItemModel& item) {
    Json fields;
    fields["number"] = item.number;
    fields["kind"] = DG::ItemKindWord(item.kind);
    fields["left"] = item.left;
    fields["top"] = item.top;
    fields["width"] = item.width;
    fields["height"] = item.height;
    fields["text"] = item.text;
    fields["enabled"] = item.enabled;
    if (item.kind == DG::ItemKind::CheckBox) {
        fields["checked"] = item.checked;
    }
    if (item.kind == DG::ItemKind::Icon) {
        fields["icon"] = item.iconNumber;
    }
    if (item.kind == DG::ItemKind::PopUp) {
        Json entries = Json::array();
        for (const DG::PopUpEntryModel& entry : item.entries) {
            entries.push_back(Json{{"text", entry.text}, {"enabled", entry.enabled}});
        }
        fields["entries"] = entries;
        fields["selected"] = item.selected;
    }
    return fields;
}

} // namespace

Json DialogFields(const DG::DialogModel& model) {
    Json fields;
    fields["dialog"] = model.number;
    fields["title"] = model.title;
    fields["width"] = model.width;
    fields["height"] = model.height;
    fields["growType"] = static_cast<Int32>(model.growType);
    Json items = Json::array();
    for (const DG::ItemModel& item : model.items) {
        items.push_back(ItemFields(item));
    }
    fields["items"] = items;
    return fields;
}

Json AlertFields(const DG::AlertRequest& request) {
    Json fields;
    fields["call"] = request.call == DG::AlertCall::DGAlert ? "DGAlert" : "WarningAlert";
    if (request.hasAlertType) {
        fields["alertType"] = request.alertType;
    }
    fields["texts"] = request.texts;
    fields["buttons"] = request.buttons;
    return fields;
}

std::string AlertTitle(const DG::AlertRequest& request) {
    if (!request.hasAlertType) {
        return "Warning";
    }
    switch (request.alertType) {
    case -1:
        return "Error";
    case 0:
        return "Information";
    case 1:
        return "Warning";
    default:
        return "Alert";
    }
}

} // namespace HostSim
