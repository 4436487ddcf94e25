#include "RS.hpp"
#include "Record/HostCallRecord.hpp"
#include "Record/ReadableText.hpp"
#include "Services/HostServices.hpp"

#include <utility>

namespace HostSim {

namespace {

Json TextsAsJson(const std::vector<std::string>& texts) {
    Json list = Json::array();
    for (const std::string& text : texts) {
        list.push_back(text);
    }
    return list;
}

// Written to the console at once: the console is unbuffered, and each piece would be a write of its own.
void ShowMenu(std::ostream& console, const MenuBook::Menu& menu) {
    const MenuRegistrationRecord& record = menu.record;
    const std::string list = std::to_string(record.menuListId);
    std::string text = "hostsim: " + menu.addOn->name + " adds menu " + list + " (menu code " +
                       std::to_string(record.menuCode) + "): " + VisibleMenuText(menu.texts.front()) + '\n';
    for (std::size_t item = 1; item < menu.texts.size(); ++item) {
        const std::string prompt = item < menu.prompts.size() ? menu.prompts[item] : std::string();
        text += "  menu " + list + ' ' + std::to_string(item) + "   " + VisibleMenuText(menu.texts[item]) +
                "   -- " + prompt + '\n';
    }
    console << text << std::flush;
}

} // namespace

HostServices::HostServices(HostWorld hostWorld) : world(hostWorld) {}

void HostServices::ReportViolation(const AddOn* addOn, const std::string& message) {
    ++violations;
    Json fields;
    if (addOn != nullptr) {
        fields["module"] = addOn->name;
        fields["state"] = NameOf(addOn->lifecycle.State());
    }
    fields["message"] = message;
    world.transcript.Write("lifecycle-violation", fields);
    world.console << "hostsim: lifecycle violation"
                  << (addOn != nullptr ? " by " + addOn->name : std::string()) << ": " << message
                  << std::endl;
}

std::vector<std::string> HostServices::ReadStringList(AddOn& addOn, Int16 listId) {
    if (addOn.resources == InvalidResModule && addOn.module != nullptr && addOn.module->IsLoaded()) {
        addOn.resources = RSInitModuleImageCache(addOn.module->Instance());
    }
    std::vector<std::string> texts;
    // Lists are short; the bound only stops a runaway module.
    constexpr Int32 maxTexts = 4096;
    for (Int32 index = 1; index <= maxTexts; ++index) {
        GS::UniString text;
        if (!RSGetIndString_ParamAdapter(GS_SOURCE_LOCATION, &text, listId, index, addOn.resources,
                                         RST_Default)) {
            break;
        }
        texts.emplace_back(text.ToUTF8().Get());
    }
    return texts;
}

GSErrCode HostServices::MenuRegister(const MenuRegistrationRecord* record) {
    HostCallRecord call(*this, world, TableOperation::MenuRegister, std::nullopt);
    if (record != nullptr && call.Recording()) {
        call.Arguments()["menuList"] = record->menuListId;
        call.Arguments()["promptList"] = record->promptListId;
        call.Arguments()["menuCode"] = record->menuCode;
        call.Arguments()["flags"] = record->flags;
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (record == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    AddOn& addOn = *call.Subject();
    MenuBook::Menu menu{&addOn, *record, ReadStringList(addOn, record->menuListId),
                        ReadStringList(addOn, record->promptListId)};
    Json fields;
    if (call.Recording()) {
        fields["module"] = addOn.name;
        fields["menuList"] = record->menuListId;
        fields["promptList"] = record->promptListId;
        fields["menuCode"] = record->menuCode;
        fields["flags"] = record->flags;
        fields["menuTexts"] = TextsAsJson(menu.texts);
        fields["promptTexts"] = TextsAsJson(menu.prompts);
    }
    if (menu.texts.empty()) {
        if (call.Recording()) {
            fields["error"] = "the module has no texts in string list " + std::to_string(record->menuListId);
            world.transcript.Write("menu-register", fields);
        }
        return call.Finish(GSErr::NotFound);
    }
    world.transcript.Write("menu-register", fields);
    ShowMenu(world.console, menu);
    world.menus.Register(std::move(menu));
    return call.Finish(NoError);
}

GSErrCode HostServices::MenuHandlerInstall(AddOnToken token, Int16 menuListId,
                                           MenuCommandHandlerProc handler) {
    HostCallRecord call(*this, world, TableOperation::MenuHandlerInstall, token);
    if (call.Recording()) {
        call.Arguments()["menuList"] = menuListId;
        call.Arguments()["handler"] = AddressText(reinterpret_cast<const void*>(handler));
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (handler == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    world.menus.InstallHandler(*call.Subject(), menuListId, handler);
    return call.Finish(NoError);
}

} // namespace HostSim
