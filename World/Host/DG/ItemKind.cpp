#include "ItemKind.hpp"

namespace DG {

const char* ItemKindName(ItemKind kind) {
    switch (kind) {
    case ItemKind::PushButton:
        return "push button";
    case ItemKind::CheckBox:
        return "check box";
    case ItemKind::PopUp:
        return "pop-up";
    case ItemKind::StaticText:
        return "static text";
    case ItemKind::Separator:
        return "separator";
    case ItemKind::Icon:
        return "icon";
    }
    return "unknown item";
}

const char* ItemKindWord(ItemKind kind) {
    switch (kind) {
    case ItemKind::PushButton:
        return "button";
    case ItemKind::CheckBox:
        return "checkbox";
    case ItemKind::PopUp:
        return "popup";
    case ItemKind::StaticText:
        return "text";
    case ItemKind::Separator:
        return "separator";
    case ItemKind::Icon:
        return "icon";
    }
    return "unknown";
}

bool IsKnownItemKind(UInt16 code) {
    switch (static_cast<ItemKind>(code)) {
    case ItemKind::PushButton:
    case ItemKind::CheckBox:
    case ItemKind::PopUp:
    case ItemKind::StaticText:
    case ItemKind::Separator:
    case ItemKind::Icon:
        return true;
    }
    return false;
}

} // namespace DG
