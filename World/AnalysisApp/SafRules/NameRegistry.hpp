#pragma once

#include "SafRules/SortedHashes.hpp"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace AnalysisApp {

// The names (or Ids) met in a first pass over a workbook, kept as 64-bit hashes in sorted lists so
// that a million objects cost 8 bytes each: enough to answer whether a name exists and which names
// occur more than once. Two different names sharing a hash is possible in principle; at these sizes
// it is far less likely than a damaged disk, and it could only hide a missing reference or report a
// false duplicate, never crash.
class NameRegistry {
public:
    // The names of one group.
    class Names {
    public:
        bool Contains(std::string_view name) const;
        bool IsRepeated(std::string_view name) const;
        bool IsRepeatedHash(std::uint64_t hash) const;

    private:
        friend class NameRegistry;
        std::vector<std::uint64_t> added; // until Seal
        SortedHashes hashes;
        std::vector<std::uint64_t> repeated;
    };

    void Add(std::string_view group, std::string_view name);
    // A name already hashed (for names compared in a way of their own, such as Ids without case).
    void AddHash(std::string_view group, std::uint64_t hash);
    // Sorts what was added; call once, after the last Add.
    void Seal();

    bool HasGroup(std::string_view group) const;
    // The group's names, or none when no name of it was added; valid while the registry lives.
    const Names* Find(std::string_view group) const;
    bool Contains(std::string_view group, std::string_view name) const;
    bool IsRepeated(std::string_view group, std::string_view name) const;

    static std::uint64_t Hash(std::string_view name);

private:
    std::map<std::string, Names, std::less<>> groups;
};

} // namespace AnalysisApp
