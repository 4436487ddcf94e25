#include "Session/AddOnDirectory.hpp"

#include <cstdint>
#include <utility>

namespace HostSim {

AddOnDirectory::CallScope::CallScope(AddOnDirectory& dir, AddOn& addOn, std::string what,
                                     GS::MemoryOwner memoryOwner)
    : directory(dir), ownerScope(memoryOwner) {
    directory.frames.push_back({&addOn, std::move(what)});
}

AddOnDirectory::CallScope::~CallScope() {
    directory.frames.pop_back();
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
    return frames.empty() ? nullptr : frames.back().addOn;
}

std::string AddOnDirectory::CallerActivity() const {
    return frames.empty() ? std::string() : frames.back().what;
}

} // namespace HostSim
