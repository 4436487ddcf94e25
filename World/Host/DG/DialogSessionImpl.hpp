#pragma once

#include "UIDriver.hpp"

namespace DG {

struct DialogState;

// The session a driver works through during one Invoke.
class DialogSessionImpl : public DialogSession {
public:
    explicit DialogSessionImpl(Int32 panelId);

    const DialogModel& Model() const override;
    bool IsCloseRequested() const override;
    Int32 CloseResponse() const override;
    const std::string& Refusal() const override { return refusal; }

    bool Select(Int16 item, Int16 entry) override;
    bool Click(Int16 item) override;
    bool Check(Int16 item, bool checked) override;
    bool Resize(Int16 dx, Int16 dy) override;
    bool Close(Int32 response) override;

private:
    DialogState& State() const;
    // The item if it exists, is of `kind` and is enabled; otherwise null, with the refusal set.
    ItemModel* UsableItem(Int16 item, ItemKind kind, const char* action);
    bool Refuse(std::string reason);

    Int32 panelId;
    std::string refusal;
    DialogModel closedModel; // what Model() shows if the dialog is destroyed under the driver
};

} // namespace DG
