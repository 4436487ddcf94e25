#pragma once

#include "SafRules/SortedHashes.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace AnalysisApp {

// The names met in the first pass over a workbook, per sheet, kept as 64-bit hashes in sorted lists
// so that a million objects cost 8 bytes each: enough to answer whether a name exists. Two different
// names sharing a hash is possible in principle; at these sizes it is far less likely than a damaged
// disk, and it could only hide a missing reference, never crash. Names used twice are found while
// each sheet is checked (FirstSeen), where the row of the first use is known.
class NameRegistry {
public:
    // The names of one group.
    class Names {
    public:
        bool Contains(std::string_view name) const;

    private:
        friend class NameRegistry;
        std::vector<std::uint64_t> added; // until Seal
        SortedHashes hashes;
    };

    void Add(std::string_view group, std::string_view name);
    // Sorts what was added; call once, after the last Add.
    void Seal();

    // The group's names, or none when no name of it was added; valid while the registry lives.
    const Names* Find(std::string_view group) const;

    static std::uint64_t Hash(std::string_view name);

private:
    std::map<std::string, Names, std::less<>> groups;
};

} // namespace AnalysisApp
