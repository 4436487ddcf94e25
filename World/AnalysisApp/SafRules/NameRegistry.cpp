#include "SafRules/NameRegistry.hpp"

#include <algorithm>

namespace AnalysisApp {

std::uint64_t NameRegistry::Hash(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char character : name) {
        hash ^= static_cast<unsigned char>(character);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void NameRegistry::Add(std::string_view group, std::string_view name) {
    auto found = groups.find(group);
    if (found == groups.end()) {
        found = groups.emplace(std::string(group), Names{}).first;
    }
    found->second.added.push_back(Hash(name));
}

void NameRegistry::Seal() {
    for (auto& [name, group] : groups) {
        std::vector<std::uint64_t>& added = group.added;
        std::sort(added.begin(), added.end());
        added.erase(std::unique(added.begin(), added.end()), added.end());
        added.shrink_to_fit();
        group.hashes = SortedHashes(std::move(added));
        added = {};
    }
}

const NameRegistry::Names* NameRegistry::Find(std::string_view group) const {
    const auto found = groups.find(group);
    return found == groups.end() ? nullptr : &found->second;
}

bool NameRegistry::Names::Contains(std::string_view name) const {
    return hashes.Contains(Hash(name));
}

} // namespace AnalysisApp
