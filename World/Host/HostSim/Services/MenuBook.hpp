#pragma once

#include "MenuRecords.hpp"
#include "Session/AddOn.hpp"

#include <string>
#include <vector>

namespace HostSim {

// The menus add-ons registered and the handlers they installed. Menu list numbers are resource
// numbers inside one module, so two add-ons may use the same number; a pick goes to the first
// add-on, in load order, with a handler for that list.
class MenuBook {
public:
    struct Menu {
        AddOn* addOn;
        MenuRegistrationRecord record;
        std::vector<std::string> texts; // UTF-8, as the module holds them (with menu control codes)
        std::vector<std::string> prompts;
    };
    struct Handler {
        AddOn* addOn;
        Int16 menuListId;
        MenuCommandHandlerProc handler;
    };

    void Register(Menu menu);
    // A second install for the same add-on and list replaces the first.
    void InstallHandler(AddOn& addOn, Int16 menuListId, MenuCommandHandlerProc handler);
    // Null when nobody installed one.
    const Handler* HandlerFor(Int16 menuListId) const;
    // At release: the add-on's menus and handlers are gone.
    void Remove(const AddOn& addOn);

    const std::vector<Menu>& Menus() const { return menus; }

private:
    std::vector<Menu> menus;
    std::vector<Handler> handlers;
};

// The text a person sees: the menu control codes ("^ES^E3...") are the menu's business, not shown.
std::string VisibleMenuText(const std::string& text);

} // namespace HostSim
