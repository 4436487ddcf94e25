#pragma once

#include "DGTypes.hpp"
#include "GSTypes.hpp"
#include "ItemKind.hpp"

#include <string>
#include <vector>

// What a dialog on screen looks like right now, as the host's UI driver reads it. Owned by DG for the
// life of the dialog; a driver reads it through a const reference and copies what it keeps. Texts are
// UTF-8.
namespace DG {

struct PopUpEntryModel {
    std::string text;
    bool enabled = true;
};

struct ItemModel {
    Int16 number = 0;
    ItemKind kind = ItemKind::Separator;
    Int16 left = 0;
    Int16 top = 0;
    Int16 width = 0;
    Int16 height = 0;
    std::string text;
    bool enabled = true;
    bool checked = false;                 // check boxes
    Int16 iconNumber = 0;                 // icons
    std::vector<PopUpEntryModel> entries; // pop-ups
    Int16 selected = 0;                   // pop-ups: 1-based, 0 when nothing is selected
};

struct DialogModel {
    Int32 number = 0;
    GSResModule module = InvalidResModule;
    std::string title;
    Int16 width = 0;
    Int16 height = 0;
    GrowType growType = NoGrow;
    std::vector<ItemModel> items; // items[i].number == i + 1
};

} // namespace DG
