#include "ResourceModuleTable.hpp"

#include <algorithm>

namespace RS {

namespace {

char16_t AsciiUpper(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameName(const ResFormat::ResName& stored, const ResFormat::ResName& wanted) {
    if (stored.IsOrdinal() || wanted.IsOrdinal()) {
        return stored == wanted;
    }
    return std::ranges::equal(stored.GetText(), wanted.GetText(),
                              [](char16_t a, char16_t b) { return AsciiUpper(a) == AsciiUpper(b); });
}

} // namespace

GSResModule ResourceModuleTable::Add(std::unique_ptr<ModuleResourceSource> source) {
    const std::lock_guard lock(mutex);
    const auto shared = std::find_if(modules.begin(), modules.end(), [&](const auto& open) {
        return open.second->Source().IsSameImage(*source);
    });
    std::shared_ptr<ModuleImage> image;
    if (shared != modules.end()) {
        image = shared->second;
    } else if (source->Find()) {
        image = std::make_shared<ModuleImage>(std::move(source));
    } else {
        return InvalidResModule;
    }
    const GSResModule module = nextModule++;
    modules.emplace(module, std::move(image));
    return module;
}

bool ResourceModuleTable::Remove(GSResModule module) {
    const std::lock_guard lock(mutex);
    return modules.erase(module) > 0;
}

template <typename Matches>
std::optional<std::span<const UInt8>> ResourceModuleTable::FindFirst(GSResModule module,
                                                                     const Matches& matches) const {
    const std::lock_guard lock(mutex);
    const auto found = modules.find(module);
    if (found == modules.end()) {
        return std::nullopt;
    }
    const std::span<const ModuleResource> resources = found->second->Resources();
    const auto resource = std::find_if(resources.begin(), resources.end(), matches);
    return resource != resources.end() ? std::optional(resource->data) : std::nullopt;
}

std::optional<std::span<const UInt8>> ResourceModuleTable::Find(GSResModule module, std::string_view typeName,
                                                                Int32 number) const {
    if (number < 0 || number > 0xFFFF) {
        return std::nullopt;
    }
    const auto name = ResFormat::ResName::Ordinal(static_cast<UInt16>(number));
    return FindFirst(module, [&](const ModuleResource& candidate) {
        return candidate.name == name && candidate.type.MatchesIgnoringCase(typeName);
    });
}

std::optional<std::span<const UInt8>> ResourceModuleTable::Find(GSResModule module,
                                                                const ResFormat::ResName& type,
                                                                const ResFormat::ResName& name) const {
    return FindFirst(module, [&](const ModuleResource& candidate) {
        return SameName(candidate.type, type) && SameName(candidate.name, name);
    });
}

} // namespace RS
