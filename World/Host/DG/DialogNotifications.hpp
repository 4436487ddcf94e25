#pragma once

#include "GSTypes.hpp"

// Sends the notifications a user's action causes. Each looks the dialog up again after every
// observer it calls, since an observer may detach others or close the dialog.
namespace DG {

void NotifyPanelOpened(Int32 panelId);
void NotifyPanelClosed(Int32 panelId);
void NotifyPanelCloseRequested(Int32 panelId);
// Grows the dialog within its grow type and minimum size and notifies when it changed. Returns
// whether anything changed.
bool ResizeAndNotify(Int32 panelId, Int16 hGrow, Int16 vGrow);
void NotifyButtonClicked(Int32 panelId, Int16 item);
void NotifyPopUpChanged(Int32 panelId, Int16 item, Int16 previousSelection);
void NotifyCheckItemChanged(Int32 panelId, Int16 item);

} // namespace DG
