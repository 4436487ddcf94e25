#include "ResourceModuleTable.hpp"

#include "ResFormat/ResFileLayout.hpp"

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

GSResModule ResourceModuleTable::Add(std::vector<ResFormat::ResourceEntry> entries) {
    std::erase_if(entries, [](const ResFormat::ResourceEntry& entry) {
        return entry.language != ResFormat::LanguageEnglishUS;
    });
    const std::lock_guard lock(mutex);
    const GSResModule module = nextModule++;
    modules.emplace(module, std::move(entries));
    return module;
}

bool ResourceModuleTable::Remove(GSResModule module) {
    const std::lock_guard lock(mutex);
    return modules.erase(module) > 0;
}

const std::vector<UInt8>* ResourceModuleTable::Find(GSResModule module, std::string_view typeName,
                                                    Int32 number) const {
    if (number < 0 || number > 0xFFFF) {
        return nullptr;
    }
    const auto name = ResFormat::ResName::Ordinal(static_cast<UInt16>(number));
    const std::lock_guard lock(mutex);
    const auto found = modules.find(module);
    if (found == modules.end()) {
        return nullptr;
    }
    const auto entry = std::find_if(found->second.begin(), found->second.end(), [&](const auto& candidate) {
        return candidate.name == name && candidate.type.MatchesIgnoringCase(typeName);
    });
    return entry != found->second.end() ? &entry->data : nullptr;
}

const std::vector<UInt8>* ResourceModuleTable::Find(GSResModule module, const ResFormat::ResName& type,
                                                    const ResFormat::ResName& name) const {
    const std::lock_guard lock(mutex);
    const auto found = modules.find(module);
    if (found == modules.end()) {
        return nullptr;
    }
    const auto entry = std::find_if(found->second.begin(), found->second.end(), [&](const auto& candidate) {
        return SameName(candidate.type, type) && SameName(candidate.name, name);
    });
    return entry != found->second.end() ? &entry->data : nullptr;
}

} // namespace RS
