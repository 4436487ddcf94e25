#include "Services/MenuBook.hpp"

#include <algorithm>
#include <utility>

namespace HostSim {

void MenuBook::Register(Menu menu) {
    menus.push_back(std::move(menu));
}

void MenuBook::InstallHandler(AddOn& addOn, Int16 menuListId, MenuCommandHandlerProc handler) {
    for (Handler& installed : handlers) {
        if (installed.addOn == &addOn && installed.menuListId == menuListId) {
            installed.handler = handler;
            return;
        }
    }
    handlers.push_back({&addOn, menuListId, handler});
}

const MenuBook::Handler* MenuBook::HandlerFor(Int16 menuListId) const {
    for (const Handler& installed : handlers) {
        if (installed.menuListId == menuListId) {
            return &installed;
        }
    }
    return nullptr;
}

void MenuBook::Remove(const AddOn& addOn) {
    std::erase_if(menus, [&](const Menu& menu) { return menu.addOn == &addOn; });
    std::erase_if(handlers, [&](const Handler& handler) { return handler.addOn == &addOn; });
}

std::string VisibleMenuText(const std::string& text) {
    return text.substr(0, text.find('^'));
}

} // namespace HostSim
