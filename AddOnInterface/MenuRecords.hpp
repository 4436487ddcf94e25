#pragma once

#include "CallingConvention.hpp"
#include "GSTypes.hpp"

#include <cstddef>

// What HostMenuRegister receives: the add-on's menu (a "STRS" list whose first text is the submenu
// title and whose later texts are the items) and its prompts. The host reads the record during the
// call and keeps nothing of it.
struct MenuRegistrationRecord {
    Int16 menuListId;   // "STRS" list of the menu texts
    Int16 promptListId; // "STRS" list of the prompts, one per menu text
    Int32 menuCode;     // where the host puts the menu (18: File > Interoperability)
    Int32 flags;
    UInt8 reserved[20]; // zero
};
static_assert(sizeof(MenuRegistrationRecord) == 32);
static_assert(offsetof(MenuRegistrationRecord, menuListId) == 0);
static_assert(offsetof(MenuRegistrationRecord, promptListId) == 2);
static_assert(offsetof(MenuRegistrationRecord, menuCode) == 4);
static_assert(offsetof(MenuRegistrationRecord, flags) == 8);

// What the host hands to a menu handler when the user picks an item. Owned by the host, valid for
// the duration of the call.
struct MenuCommandRecord {
    Int16 menuListId; // the "STRS" list of the menu
    Int16 reserved;
    Int32 itemIndex; // the chosen item, counted from 1 (the title is not an item)
};
static_assert(sizeof(MenuCommandRecord) == 8);
static_assert(offsetof(MenuCommandRecord, menuListId) == 0);
static_assert(offsetof(MenuCommandRecord, itemIndex) == 4);

// An add-on's menu handler. Its result goes back to the host's menu loop.
using MenuCommandHandlerProc = GSErrCode(HOST_CALL*)(const MenuCommandRecord* command);
