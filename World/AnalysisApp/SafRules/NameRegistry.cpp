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
    AddHash(group, Hash(name));
}

void NameRegistry::AddHash(std::string_view group, std::uint64_t hash) {
    auto found = groups.find(group);
    if (found == groups.end()) {
        found = groups.emplace(std::string(group), Names{}).first;
    }
    found->second.added.push_back(hash);
}

void NameRegistry::Seal() {
    for (auto& [name, group] : groups) {
        std::vector<std::uint64_t>& added = group.added;
        std::sort(added.begin(), added.end());
        for (std::size_t index = 1; index < added.size(); ++index) {
            if (added[index] == added[index - 1] &&
                (group.repeated.empty() || group.repeated.back() != added[index])) {
                group.repeated.push_back(added[index]);
            }
        }
        added.erase(std::unique(added.begin(), added.end()), added.end());
        added.shrink_to_fit();
        group.hashes = SortedHashes(std::move(added));
        added = {};
    }
}

bool NameRegistry::HasGroup(std::string_view group) const {
    return groups.find(group) != groups.end();
}

const NameRegistry::Names* NameRegistry::Find(std::string_view group) const {
    const auto found = groups.find(group);
    return found == groups.end() ? nullptr : &found->second;
}

bool NameRegistry::Contains(std::string_view group, std::string_view name) const {
    const Names* names = Find(group);
    return names != nullptr && names->Contains(name);
}

bool NameRegistry::IsRepeated(std::string_view group, std::string_view name) const {
    const Names* names = Find(group);
    return names != nullptr && names->IsRepeated(name);
}

bool NameRegistry::Names::Contains(std::string_view name) const {
    return hashes.Contains(Hash(name));
}

bool NameRegistry::Names::IsRepeated(std::string_view name) const {
    return IsRepeatedHash(Hash(name));
}

bool NameRegistry::Names::IsRepeatedHash(std::uint64_t hash) const {
    return !repeated.empty() && std::binary_search(repeated.begin(), repeated.end(), hash);
}

} // namespace AnalysisApp
