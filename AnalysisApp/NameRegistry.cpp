#include "NameRegistry.hpp"

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
        found = groups.emplace(std::string(group), Group{}).first;
    }
    found->second.hashes.push_back(Hash(name));
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

bool NameRegistry::Contains(std::string_view group, std::string_view name) const {
    const auto found = groups.find(group);
    return found != groups.end() &&
           std::binary_search(found->second.hashes.begin(), found->second.hashes.end(), Hash(name));
}

bool NameRegistry::IsRepeated(std::string_view group, std::string_view name) const {
    const auto found = groups.find(group);
    return found != groups.end() &&
           std::binary_search(found->second.repeated.begin(), found->second.repeated.end(), Hash(name));
}

} // namespace AnalysisApp
