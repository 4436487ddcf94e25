#include "SafRules/SortedHashes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

// The names a reference may name, found through the index on their top bits exactly as a binary
// search over the whole list finds them: at the ends of the hash range, across bucket edges, with
// repeats, in lists too small to be indexed and in large ones.
namespace {

TEST(SortedHashes, FindExactlyTheHashesTheListHolds) {
    constexpr std::uint64_t Largest = std::numeric_limits<std::uint64_t>::max();
    std::mt19937_64 random(22);
    for (const std::size_t size : std::vector<std::size_t>{0, 1, 100, 4095, 4096, 50000}) {
        std::vector<std::uint64_t> held;
        std::vector<std::uint64_t> asked = {0, 1, Largest, Largest - 1};
        for (std::size_t index = 0; index < size; ++index) {
            const std::uint64_t hash = random();
            (index % 2 == 0 ? held : asked).push_back(hash);
            asked.push_back(hash ^ 1); // a neighbour, in the same bucket nearly always
        }
        if (size > 0) {
            held.insert(held.end(), {0, Largest, held.front()}); // both ends, and one repeat
        }
        std::sort(held.begin(), held.end());
        asked.insert(asked.end(), held.begin(), held.end());
        const AnalysisApp::SortedHashes hashes(held);
        for (const std::uint64_t hash : asked) {
            EXPECT_EQ(hashes.Contains(hash), std::binary_search(held.begin(), held.end(), hash))
                << "hash " << hash << " among " << size;
        }
    }
}

} // namespace
