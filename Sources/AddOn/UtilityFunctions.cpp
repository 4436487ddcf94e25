#include "UtilityFunctions.hpp"

#include "DGAlert.hpp"
#include "RS.hpp"

namespace {
constexpr GSResID AlertStringListId = 32300;
GSResModule resourceModule = InvalidResModule;
// 0 until the first call takes the resource module.
GSResModule dialogResourceModule = 0;
} // namespace
// The host's diagnostics know this lookup as line 14 of this file: keep it there.
GS::UniString GetResourceString(Int16 index) {
    return RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, AlertStringListId, static_cast<Int32>(index),
                                       GetResourceModule(), RST_Default);
}

void ShowErrorAlert(Int16 headline, Int16 advice) {
    constexpr Int16 ErrorAlertType = -1;
    constexpr Int16 OkText = 1;
    static_cast<void>(DGAlert(ErrorAlertType, GetResourceString(headline), GetResourceString(advice),
                              GS::UniString(), GetResourceString(OkText), GS::UniString(), GS::UniString()));
}

GSResModule GetResourceModule() {
    return resourceModule;
}

void SetResourceModule(GSResModule module) {
    resourceModule = module;
}

GSResModule GetDialogResourceModule() {
    if (dialogResourceModule == 0) {
        dialogResourceModule = GetResourceModule();
    }
    return dialogResourceModule;
}
