#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace AnalysisApp {

// Name hashes, sorted, with an index on their top bits. A reference is looked up once per cell, and
// among a million names a binary search over the 8 MB list misses the cache at nearly every step;
// the index narrows it to a handful of neighbouring hashes, one or two cache lines, for 4 bytes per
// 4 hashes. Small lists are searched without it.
class SortedHashes {
public:
    SortedHashes() = default;
    // `sorted` in increasing order, repeats allowed.
    explicit SortedHashes(std::vector<std::uint64_t> sorted);

    bool Contains(std::uint64_t hash) const;

private:
    std::vector<std::uint64_t> hashes;
    std::vector<std::uint32_t> starts; // starts[b]: the first hash whose top `bits` bits are b or more
    unsigned bits = 0;
};

} // namespace AnalysisApp
