#include "SafRules/FirstSeen.hpp"

#include <algorithm>

namespace AnalysisApp {

void FirstSeen::Grow() {
    std::vector<std::uint64_t> oldHashes = std::move(hashes);
    std::vector<std::uint32_t> oldTags = std::move(tags);
    const std::size_t size = oldHashes.empty() ? 1024 : oldHashes.size() * 2;
    hashes.assign(size, 0);
    tags.assign(size, 0);
    count = 0;
    for (std::size_t slot = 0; slot < oldHashes.size(); ++slot) {
        if (oldHashes[slot] != 0) {
            Insert(oldHashes[slot], oldTags[slot]);
        }
    }
}

std::optional<std::uint32_t> FirstSeen::Insert(std::uint64_t hash, std::uint32_t tag) {
    if (4 * (count + 1) > 3 * hashes.size()) {
        Grow();
    }
    hash = hash == 0 ? 1 : hash;
    const std::size_t mask = hashes.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash ^ (hash >> 31)) & mask;; slot = (slot + 1) & mask) {
        if (hashes[slot] == hash) {
            return tags[slot];
        }
        if (hashes[slot] == 0) {
            hashes[slot] = hash;
            tags[slot] = tag;
            ++count;
            return std::nullopt;
        }
    }
}

std::vector<std::uint64_t> FirstSeen::TakeSorted() {
    std::vector<std::uint64_t> sorted;
    sorted.reserve(count);
    for (const std::uint64_t hash : hashes) {
        if (hash != 0) {
            sorted.push_back(hash);
        }
    }
    std::sort(sorted.begin(), sorted.end());
    hashes = {};
    tags = {};
    count = 0;
    return sorted;
}

} // namespace AnalysisApp
