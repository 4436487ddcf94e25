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
    found->second.hashes.push_back(hash);
}

void NameRegistry::Seal() {
    for (auto& [name, group] : groups) {
        std::sort(group.hashes.begin(), group.hashes.end());
        for (std::size_t index = 1; index < group.hashes.size(); ++index) {
            if (group.hashes[index] == group.hashes[index - 1] &&
                (group.repeated.empty() || group.repeated.back() != group.hashes[index])) {
                group.repeated.push_back(group.hashes[index]);
            }
        }
        group.hashes.erase(std::unique(group.hashes.begin(), group.hashes.end()), group.hashes.end());
        group.hashes.shrink_to_fit();
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
    return std::binary_search(hashes.begin(), hashes.end(), Hash(name));
}

bool NameRegistry::Names::IsRepeated(std::string_view name) const {
    return IsRepeatedHash(Hash(name));
}

bool NameRegistry::Names::IsRepeatedHash(std::uint64_t hash) const {
    return !repeated.empty() && std::binary_search(repeated.begin(), repeated.end(), hash);
}

} // namespace AnalysisApp
