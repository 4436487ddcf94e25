#pragma once

#include "DialogState.hpp"

#include <memory>

namespace DG {

// A dialog's state from layout `number` of `module`: a valid one with every item of the layout, or,
// when the layout is missing or malformed, an invalid one without items (the reason has then been
// printed on the debug output and handed to the UI driver).
std::unique_ptr<DialogState> BuildDialogState(GSResModule module, Int16 number);

// The host's 8-bit text as UTF-8; bytes that are not valid UTF-8 become U+FFFD.
std::string HostTextToUtf8(const std::string& text);

} // namespace DG
