#pragma once

#include "Session/AddOn.hpp"

#include <memory>
#include <string>
#include <vector>

namespace HostSim {

// Every add-on of this run, in load order, and which one the host is calling into right now. The
// host's table operations learn from here who is calling them and whose token they were given.
class AddOnDirectory {
public:
    // While alive, the host is inside a call into `addOn` and `memoryOwner` is the current memory
    // owner.
    class CallScope {
    public:
        CallScope(AddOnDirectory& directory, AddOn& addOn, GS::MemoryOwner memoryOwner);
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        AddOnDirectory& directory;
        GS::MemoryOwnerScope ownerScope;
    };

    AddOn& Add(std::unique_ptr<AddOn> addOn);
    const std::vector<std::unique_ptr<AddOn>>& All() const { return addOns; }

    // A token unique to this add-on for the whole run (never null, never reused).
    AddOnToken IssueToken(AddOn& addOn);
    AddOn* FindByToken(AddOnToken token) const;

    // The add-on the host is calling into, or null when the host is on its own.
    AddOn* Caller() const;

private:
    std::vector<std::unique_ptr<AddOn>> addOns;
    std::vector<AddOn*> callers; // innermost last
    UInt64 tokensIssued = 0;
};

} // namespace HostSim
