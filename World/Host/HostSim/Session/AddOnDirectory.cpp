#include "Session/AddOnDirectory.hpp"

#include <cstdint>
#include <utility>

namespace HostSim {

AddOnDirectory::CallScope::CallScope(AddOnDirectory& dir, AddOn& addOn, GS::MemoryOwner memoryOwner)
    : directory(dir), ownerScope(memoryOwner) {
    directory.callers.push_back(&addOn);
}

AddOnDirectory::CallScope::~CallScope() {
    directory.callers.pop_back();
}

AddOn& AddOnDirectory::Add(std::unique_ptr<AddOn> addOn) {
    addOns.push_back(std::move(addOn));
    return *addOns.back();
}

AddOnToken AddOnDirectory::IssueToken(AddOn& addOn) {
    // Recognisable in a transcript, and far from any address an add-on could mistake it for.
    constexpr std::uintptr_t tokenBase = 0x70C0000;
    ++tokensIssued;
    addOn.token = reinterpret_cast<AddOnToken>(tokenBase + tokensIssued * 0x10);
    return addOn.token;
}

AddOn* AddOnDirectory::FindByToken(AddOnToken token) const {
    if (token == nullptr) {
        return nullptr;
    }
    for (const std::unique_ptr<AddOn>& addOn : addOns) {
        if (addOn->token == token) {
            return addOn.get();
        }
    }
    return nullptr;
}

AddOn* AddOnDirectory::Caller() const {
    return callers.empty() ? nullptr : callers.back();
}

} // namespace HostSim
