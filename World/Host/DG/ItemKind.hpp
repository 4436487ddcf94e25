#pragma once

#include "GSTypes.hpp"

namespace DG {

// Item type codes of the "GSDG" layout, with the values the layout stores.
enum class ItemKind : UInt16 {
    PushButton = 1,
    CheckBox = 2,
    PopUp = 5,
    StaticText = 13,
    Separator = 15,
    Icon = 16
};

// "push button", "pop-up", ...; for messages and the transcript.
const char* ItemKindName(ItemKind kind);
// The same as one word: "button", "popup", ...
const char* ItemKindWord(ItemKind kind);
bool IsKnownItemKind(UInt16 code);

} // namespace DG
