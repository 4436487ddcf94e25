#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace AnalysisApp {

// Which 64-bit name hashes were met already, and with what tag (a row, or a sheet and a row): an
// open-addressing table of 12 bytes a slot, kept at most three quarters full, so that a million names
// cost about 16 MB and no allocation each.
class FirstSeen {
public:
    // The tag the hash was first met with; nothing (and the hash entered with `tag`) when it is new.
    std::optional<std::uint32_t> Insert(std::uint64_t hash, std::uint32_t tag);

    // Every hash entered, sorted; the table is emptied.
    std::vector<std::uint64_t> TakeSorted();

private:
    void Grow();

    std::vector<std::uint64_t> hashes; // 0: a free slot (a hash of 0 is stored as 1)
    std::vector<std::uint32_t> tags;
    std::size_t count = 0;
};

} // namespace AnalysisApp
