#pragma once

#include "GSTypes.hpp"

namespace DG {

// The most entries a pop-up holds, as the host states it: entries are numbered with 16-bit signed
// numbers from 1. Past it InsertItem and AppendItem add nothing, rather than make entries no number
// can reach.
constexpr Int16 PopUpEntryLimit = 32767;

} // namespace DG
