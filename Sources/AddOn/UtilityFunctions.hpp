#pragma once

#include "GSTypes.hpp"
#include "UniString.hpp"

// The resource module opened at load: -1 before load and after unload.
GSResModule GetResourceModule();
// Only the load and unload steps set it.
void SetResourceModule(GSResModule module);

// The resource module for the host's dialog calls: the resource module as it was at the first call,
// kept from then on.
GSResModule GetDialogResourceModule();

// Text `index` of the alert string list; the empty string when there is none.
GS::UniString GetResourceString(Int16 index);

// An error alert of the alert string list's texts `headline` and `advice`, with "OK" as its one button.
void ShowErrorAlert(Int16 headline, Int16 advice);
