#pragma once

#include "GSTypes.hpp"
#include "ModuleImage.hpp"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>

namespace RS {

// The resource modules that are open: each a loaded module's resources of the host's language, under
// a number that is never handed out twice in a process (1, 2, ...). Resource modules opened on the
// same module image share one reading of it.
class ResourceModuleTable {
public:
    // Shares the image of an open resource module of the same image, or finds the resources in
    // `source`; -1 when it has none.
    GSResModule Add(std::unique_ptr<ModuleResourceSource> source);
    // False when `module` is not open.
    bool Remove(GSResModule module);
    // The bytes of resource `typeName` (compared ignoring case) number `number`, or nothing. They stay
    // where they are until the module is removed.
    std::optional<std::span<const UInt8>> Find(GSResModule module, std::string_view typeName,
                                               Int32 number) const;
    // The bytes of the resource of type `type` called `name`, or nothing. A named `name` matches
    // ignoring the case of ASCII letters; an ordinal matches only the same ordinal.
    std::optional<std::span<const UInt8>> Find(GSResModule module, const ResFormat::ResName& type,
                                               const ResFormat::ResName& name) const;

private:
    template <typename Matches>
    std::optional<std::span<const UInt8>> FindFirst(GSResModule module, const Matches& matches) const;

    mutable std::mutex mutex;
    std::map<GSResModule, std::shared_ptr<ModuleImage>> modules;
    GSResModule nextModule = 1;
};

} // namespace RS
