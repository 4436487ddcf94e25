#pragma once

#include "GSTypes.hpp"
#include "UniString.hpp"

#include <cstddef>

// The host's record that AddOnDescribe fills. The host creates it (with empty strings), passes it
// to the add-on, then reads the name and description and destroys it; the strings' buffers come from
// GS::MemoryManager, so the add-on may assign to them.
struct AddOnDescriptionRecord {
    Int32 recordVersion; // 1
    Int32 reserved0;
    UInt8 hostData[40]; // the host's own, not touched by add-ons
    GS::UniString name;
    GS::UniString description;
};
static_assert(sizeof(GS::UniString) == 16);
static_assert(offsetof(AddOnDescriptionRecord, name) == 48);
static_assert(offsetof(AddOnDescriptionRecord, description) == 64);
static_assert(sizeof(AddOnDescriptionRecord) == 80);
