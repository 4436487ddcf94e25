#include "DialogBuilder.hpp"

#include "DGLayoutSource.hpp"
#include "DebugOutput.hpp"
#include "DialogLayout.hpp"
#include "RS.hpp"
#include "UIDriver.hpp"
#include "UniString.hpp"

namespace DG {

namespace {

LayoutSource* installedSource = nullptr;

const std::uint8_t* FindLayoutBytes(GSResModule module, Int32 number, UInt32* size) {
    *size = 0;
    if (installedSource != nullptr) {
        return installedSource->FindLayout(module, number, size);
    }
    return RSFindResource(module, "GSDG", number, size);
}

ItemModel ModelOf(const LayoutItem& item) {
    ItemModel model;
    model.number = item.number;
    model.kind = item.kind;
    model.left = item.left;
    model.top = item.top;
    model.width = item.width;
    model.height = item.height;
    model.text = HostTextToUtf8(item.text);
    model.iconNumber = item.iconNumber;
    return model;
}

void Reject(Int32 number, const std::string& message) {
    DBPrintf("DG: dialog %d cannot be built: %hs\n", static_cast<int>(number), message.c_str());
    if (UIDriver* driver = GetUIDriver()) {
        driver->DialogRejected(number, message);
    }
}

} // namespace

LayoutSource::~LayoutSource() = default;

void SetLayoutSource(LayoutSource* source) {
    installedSource = source;
}

std::string HostTextToUtf8(const std::string& text) {
    const GS::UniString decoded(text.c_str(), CC_Default);
    return decoded.ToUTF8().Get();
}

std::unique_ptr<DialogState> BuildDialogState(GSResModule module, Int16 number) {
    auto state = std::make_unique<DialogState>();
    state->model.number = number;
    state->model.module = module;
    UInt32 size = 0;
    const std::uint8_t* bytes = FindLayoutBytes(module, number, &size);
    if (bytes == nullptr) {
        Reject(number, "GSDG " + std::to_string(number) + ": the resource module " + std::to_string(module) +
                           " has no such layout");
        return state;
    }
    LayoutParse parsed = ParseDialogLayout(std::span<const std::uint8_t>(bytes, size), number);
    if (!parsed.layout) {
        Reject(number, parsed.error.Describe());
        return state;
    }
    state->valid = true;
    state->model.title = HostTextToUtf8(parsed.layout->title);
    state->model.width = state->minWidth = parsed.layout->width;
    state->model.height = state->minHeight = parsed.layout->height;
    for (const LayoutItem& item : parsed.layout->items) {
        state->model.items.push_back(ModelOf(item));
    }
    state->items.resize(state->model.items.size());
    return state;
}

} // namespace DG
