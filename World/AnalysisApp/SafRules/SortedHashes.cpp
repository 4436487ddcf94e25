#include "SafRules/SortedHashes.hpp"

#include <algorithm>
#include <cassert>

namespace AnalysisApp {

SortedHashes::SortedHashes(std::vector<std::uint64_t> sorted) : hashes(std::move(sorted)) {
    assert(std::is_sorted(hashes.begin(), hashes.end()));
    constexpr std::size_t Unindexed = 4096; // 32 KB: a binary search stays in the cache
    if (hashes.size() < Unindexed) {
        return;
    }
    // About four hashes a bucket, the hashes being spread evenly.
    while (bits < 24 && (std::size_t{4} << bits) < hashes.size()) {
        ++bits;
    }
    starts.assign((std::size_t{1} << bits) + 1, 0);
    std::size_t at = 0;
    for (std::size_t bucket = 0; bucket < starts.size(); ++bucket) {
        while (at < hashes.size() && (hashes[at] >> (64 - bits)) < bucket) {
            ++at;
        }
        starts[bucket] = static_cast<std::uint32_t>(at);
    }
}

bool SortedHashes::Contains(std::uint64_t hash) const {
    if (starts.empty()) {
        return std::binary_search(hashes.begin(), hashes.end(), hash);
    }
    const std::size_t bucket = static_cast<std::size_t>(hash >> (64 - bits));
    const auto begin = hashes.begin() + starts[bucket];
    const auto end = hashes.begin() + starts[bucket + 1];
    return std::find(begin, end, hash) != end;
}

} // namespace AnalysisApp
