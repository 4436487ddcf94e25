#pragma once

#include "GSTypes.hpp"
#include "UDExport.hpp"
#include "UniString.hpp"

namespace UD {

// The host's "don't show this again" dialogs. The dialog is an add-on's layout with a check box
// (the layout's last check box) and a closing button (its first push button); the host builds and
// runs it like any modal dialog. When it is closed, however, with the box ticked, the host remembers
// the choice under `key` in the current user's registry (DontShowAgainKey), and later calls with the
// same key show nothing.
//
// The call reports itself as "UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog"; refused by
// the host's call monitor, it shows nothing and remembers nothing.
constexpr const char* DontShowAgainKey = "Software\\HostSim\\DontShowAgain";

class UD_API DontShowAgainDialogUtils {
public:
    static void InvokeDontShowAgainDialog(GSResModule dialogResModule, Int16 dialogId,
                                          const GS::UniString& key, GSResModule dialogIconResModule);

    // Host-side: whether the user suppressed the dialog under `key`.
    static bool IsSuppressed(const GS::UniString& key);
};

} // namespace UD
