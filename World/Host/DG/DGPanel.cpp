#include "DGPanel.hpp"

#include "CallReport.hpp"
#include "DGObservers.hpp"
#include "DialogBuilder.hpp"
#include "DialogNotifications.hpp"
#include "DialogSessionImpl.hpp"
#include "UIDriver.hpp"

#include <algorithm>

namespace DG {

namespace {

DialogState* StateOf(Int32 panelId) {
    return DialogRegistry::Instance().Find(panelId);
}

Int32 DialogNumber(Int32 panelId) {
    const DialogState* state = StateOf(panelId);
    return state != nullptr ? state->model.number : 0;
}

std::string DialogDetails(Int32 panelId) {
    return "dialog=" + std::to_string(DialogNumber(panelId));
}

Int32 CreateDialog(GSResModule module, Int16 number) {
    CallReport report("DG::ModalDialog::ModalDialog", [&] {
        return "dialog=" + std::to_string(number) + " module=" + std::to_string(module);
    });
    std::unique_ptr<DialogState> state = BuildDialogState(module, number);
    report.Result(state->valid ? "valid=true" : "valid=false");
    return DialogRegistry::Instance().Add(std::move(state));
}

// Runs the driver until a close is requested; a driver that gives up, or none, closes with Cancel.
void RunModalLoop(DialogState& state) {
    const Int32 panelId = state.panelId;
    NotifyPanelOpened(panelId);
    if (UIDriver* driver = GetUIDriver()) {
        DialogSessionImpl session(panelId);
        driver->RunModalDialog(session);
    }
    DialogState* after = StateOf(panelId);
    if (after != nullptr && !after->closeResponse) {
        after->closeResponse = Cancel;
    }
    NotifyPanelClosed(panelId);
}

} // namespace

Panel::Panel(Int32 id) : panelId(id) {}

Panel::~Panel() {
    DialogRegistry::Instance().Remove(panelId);
}

void Panel::Attach(PanelObserver& observer) const {
    CallReport report("DG::Panel::Attach", [&] { return DialogDetails(panelId); });
    if (DialogState* state = StateOf(panelId)) {
        if (std::ranges::find(state->panelObservers, &observer) == state->panelObservers.end()) {
            state->panelObservers.push_back(&observer);
        }
    }
}

void Panel::Detach(PanelObserver& observer) const {
    CallReport report("DG::Panel::Detach", [&] { return DialogDetails(panelId); });
    if (DialogState* state = StateOf(panelId)) {
        std::erase(state->panelObservers, &observer);
    }
}

Int16 Panel::GetWidth() const {
    CallReport report("DG::Panel::GetWidth", [&] { return DialogDetails(panelId); });
    const DialogState* state = StateOf(panelId);
    const Int16 width = state != nullptr ? state->model.width : 0;
    report.Result([&] { return "width=" + std::to_string(width); });
    return width;
}

Int16 Panel::GetHeight() const {
    CallReport report("DG::Panel::GetHeight", [&] { return DialogDetails(panelId); });
    const DialogState* state = StateOf(panelId);
    const Int16 height = state != nullptr ? state->model.height : 0;
    report.Result([&] { return "height=" + std::to_string(height); });
    return height;
}

bool Panel::IsValid() const {
    const DialogState* state = StateOf(panelId);
    return state != nullptr && state->valid;
}

Dialog::Dialog(GSResModule dialogResModule, Int16 resId, GSResModule /*dialogIconResModule*/)
    : Panel(CreateDialog(dialogResModule, resId)) {
    StateOf(GetPanelId())->panel = this;
}

Dialog::~Dialog() = default;

void Dialog::SetGrowType(GrowType growType) {
    CallReport report("DG::Dialog::SetGrowType",
                      [&] { return DialogDetails(GetPanelId()) + " growType=" + std::to_string(growType); });
    if (DialogState* state = StateOf(GetPanelId())) {
        state->model.growType = growType;
    }
}

void Dialog::Resize(Int16 hGrow, Int16 vGrow, ResizeFixPoint fixPoint, bool keepOld) {
    CallReport report("DG::Dialog::Resize", [&] {
        return DialogDetails(GetPanelId()) + " hGrow=" + std::to_string(hGrow) +
               " vGrow=" + std::to_string(vGrow) + " fixPoint=" + std::to_string(fixPoint) +
               " keepOld=" + (keepOld ? "true" : "false");
    });
    if (report.Refused()) {
        return;
    }
    const bool changed = ResizeAndNotify(GetPanelId(), hGrow, vGrow);
    report.Result(changed ? "resized" : "unchanged");
}

ModalDialog::ModalDialog(GSResModule dialogResModule, Int16 resId, GSResModule dialogIconResModule)
    : Dialog(dialogResModule, resId, dialogIconResModule) {}

ModalDialog::~ModalDialog() = default;

bool ModalDialog::Invoke() {
    CallReport report("DG::ModalDialog::Invoke", [&] { return DialogDetails(GetPanelId()); });
    DialogState* state = StateOf(GetPanelId());
    if (report.Refused() || state == nullptr || !state->valid || state->inModalLoop) {
        report.Result(report.Refused() ? "shown=false result=false (refused)" : "shown=false result=false");
        return false;
    }
    state->closeResponse.reset();
    state->inModalLoop = true;
    RunModalLoop(*state);
    state = StateOf(GetPanelId());
    if (state == nullptr) {
        return false;
    }
    state->inModalLoop = false;
    const Int32 response = state->closeResponse.value_or(Cancel);
    report.Result([&] {
        return "shown=true response=" + std::to_string(response) +
               " result=" + (response == Accept ? "true" : "false");
    });
    return response == Accept;
}

void ModalDialog::PostCloseRequest(ModalResponse response) {
    CallReport report("DG::ModalDialog::PostCloseRequest",
                      [&] { return DialogDetails(GetPanelId()) + " response=" + std::to_string(response); });
    if (DialogState* state = StateOf(GetPanelId())) {
        state->closeResponse = response;
    }
}

const DialogModel* FindDialogModel(const Panel& panel) {
    const DialogState* state = StateOf(panel.GetPanelId());
    return state != nullptr && state->valid ? &state->model : nullptr;
}

} // namespace DG
