#include "Screen/DialogText.hpp"

#include "Screen/DialogJson.hpp"
#include "Screen/ScreenAction.hpp"

#include <sstream>

namespace HostSim {

namespace {

std::string Padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

void WriteItem(std::ostringstream& out, const DG::ItemModel& item) {
    out << "  [" << item.number << "] " << Padded(DG::ItemKindWord(item.kind), 10);
    switch (item.kind) {
    case DG::ItemKind::CheckBox:
        out << (item.checked ? "[x] " : "[ ] ") << '"' << item.text << '"';
        break;
    case DG::ItemKind::Icon:
        out << "icon " << item.iconNumber;
        break;
    case DG::ItemKind::Separator:
        out << "----------";
        break;
    case DG::ItemKind::PopUp:
        out << (item.selected > 0 ? "selected " + std::to_string(item.selected)
                                  : std::string("nothing selected"));
        break;
    default:
        out << '"' << item.text << '"';
    }
    if (!item.enabled) {
        out << "  (disabled)";
    }
    out << '\n';
    for (std::size_t index = 0; index < item.entries.size(); ++index) {
        const DG::PopUpEntryModel& entry = item.entries[index];
        const bool selected = static_cast<std::size_t>(item.selected) == index + 1;
        out << "       " << (selected ? "> " : "  ") << index + 1 << "  " << entry.text
            << (entry.enabled ? "" : "  (disabled)") << '\n';
    }
}

} // namespace

std::string AlertAsText(const DG::AlertRequest& request) {
    std::ostringstream out;
    out << "+-- " << AlertTitle(request) << " --\n";
    const std::size_t textCount = request.texts.size() - request.buttons.size();
    for (std::size_t index = 0; index < textCount; ++index) {
        if (!request.texts[index].empty()) {
            out << "|  " << request.texts[index] << '\n';
        }
    }
    out << "|  buttons:";
    for (std::size_t index = 0; index < request.buttons.size(); ++index) {
        if (!request.buttons[index].empty()) {
            out << "  [" << index + 1 << "] " << request.buttons[index];
        }
    }
    out << "\n+-- commands: " << AcceptedCommands(Screen::Alert) << '\n';
    return out.str();
}

std::string DialogAsText(const DG::DialogModel& model) {
    std::ostringstream out;
    out << "+-- " << model.title << " (dialog " << model.number << ", " << model.width << " x "
        << model.height << ") --\n";
    for (const DG::ItemModel& item : model.items) {
        WriteItem(out, item);
    }
    out << "+-- commands: " << AcceptedCommands(Screen::Dialog) << '\n';
    return out.str();
}

} // namespace HostSim
