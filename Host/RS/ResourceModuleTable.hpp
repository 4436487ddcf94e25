#pragma once

#include "GSTypes.hpp"
#include "ResFormat/ResourceEntry.hpp"

#include <map>
#include <mutex>
#include <string_view>
#include <vector>

namespace RS {

// The resource modules that are open: each a module's resources of the host's language, under a
// number that is never handed out twice in a process (1, 2, ...).
class ResourceModuleTable {
public:
    // Keeps the entries of language 1033 and drops the rest.
    GSResModule Add(std::vector<ResFormat::ResourceEntry> entries);
    // False when `module` is not open.
    bool Remove(GSResModule module);
    // The bytes of resource `typeName` (compared ignoring case) number `number`, or null. They stay
    // where they are until the module is removed.
    const std::vector<UInt8>* Find(GSResModule module, std::string_view typeName, Int32 number) const;
    // The bytes of the resource of type `type` called `name`, or null. A named `name` matches ignoring
    // the case of ASCII letters; an ordinal matches only the same ordinal.
    const std::vector<UInt8>* Find(GSResModule module, const ResFormat::ResName& type,
                                   const ResFormat::ResName& name) const;

private:
    mutable std::mutex mutex;
    std::map<GSResModule, std::vector<ResFormat::ResourceEntry>> modules;
    GSResModule nextModule = 1;
};

} // namespace RS
