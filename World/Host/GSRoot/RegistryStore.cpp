#include "RegistryStore.hpp"

#include "CaseFolding.hpp"
#include "TextEncoding.hpp"

#include <algorithm>
#include <utility>

namespace GS::RegistryStore {

Int32 CompareKeyNames(std::u16string_view left, std::u16string_view right) {
    return CaseFolding::CompareUpper(left.data(), left.size(), right.data(), right.size());
}

bool NamesMatch(std::u16string_view left, std::u16string_view right) {
    return left.size() == right.size() && CompareKeyNames(left, right) == 0;
}

bool NameLess::operator()(std::u16string_view left, std::u16string_view right) const {
    return CompareKeyNames(left, right) < 0;
}

namespace {

template <typename Keys>
auto LowerBound(Keys& keys, std::u16string_view name) {
    return std::lower_bound(keys.begin(), keys.end(), name, [](const Key& key, std::u16string_view wanted) {
        return CompareKeyNames(key.name, wanted) < 0;
    });
}

} // namespace

Key* Key::FindSubKey(std::u16string_view subKeyName) {
    auto found = LowerBound(subKeys, subKeyName);
    return found != subKeys.end() && NamesMatch(found->name, subKeyName) ? &*found : nullptr;
}

const Key* Key::FindSubKey(std::u16string_view subKeyName) const {
    auto found = LowerBound(subKeys, subKeyName);
    return found != subKeys.end() && NamesMatch(found->name, subKeyName) ? &*found : nullptr;
}

Key& Key::MakeSubKey(std::u16string_view subKeyName) {
    auto found = LowerBound(subKeys, subKeyName);
    if (found != subKeys.end() && NamesMatch(found->name, subKeyName)) {
        return *found;
    }
    Key fresh;
    fresh.name = subKeyName;
    return *subKeys.insert(found, std::move(fresh));
}

bool Key::RemoveSubKey(std::u16string_view subKeyName) {
    auto found = LowerBound(subKeys, subKeyName);
    if (found == subKeys.end() || !NamesMatch(found->name, subKeyName)) {
        return false;
    }
    subKeys.erase(found);
    return true;
}

Value* Key::FindValue(std::u16string_view valueName) {
    const auto found = valuePlaces.find(valueName);
    return found != valuePlaces.end() ? &values[found->second] : nullptr;
}

const Value* Key::FindValue(std::u16string_view valueName) const {
    const auto found = valuePlaces.find(valueName);
    return found != valuePlaces.end() ? &values[found->second] : nullptr;
}

void Key::SetValue(Value value) {
    if (Value* existing = FindValue(value.name)) {
        value.name = std::move(existing->name);
        *existing = std::move(value);
    } else {
        valuePlaces.emplace(value.name, values.size());
        values.push_back(std::move(value));
    }
}

// Removing is rare (a person deleting one value): the places after the removed one move down.
bool Key::RemoveValue(std::u16string_view valueName) {
    const auto found = valuePlaces.find(valueName);
    if (found == valuePlaces.end()) {
        return false;
    }
    const std::size_t removed = found->second;
    valuePlaces.erase(found);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(removed));
    for (auto& [placedName, place] : valuePlaces) {
        if (place > removed) {
            --place;
        }
    }
    return true;
}

bool IsStorableName(std::u16string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char16_t unit : name) {
        if (unit < 0x20 || unit == 0x7F) {
            return false;
        }
    }
    return true;
}

std::vector<std::u16string> SplitKeyPath(std::string_view utf8Path) {
    std::vector<std::u16string> components;
    std::size_t start = 0;
    while (start <= utf8Path.size()) {
        std::size_t end = utf8Path.find('\\', start);
        if (end == std::string_view::npos) {
            end = utf8Path.size();
        }
        if (end > start) {
            components.push_back(TextEncoding::Decode(utf8Path.data() + start, end - start, CC_UTF8));
        }
        start = end + 1;
    }
    return components;
}

const Key* FindKey(const Key& from, const std::vector<std::u16string>& path) {
    const Key* key = &from;
    for (const std::u16string& name : path) {
        key = key->FindSubKey(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

Key* FindKey(Key& from, const std::vector<std::u16string>& path) {
    return const_cast<Key*>(FindKey(static_cast<const Key&>(from), path));
}

Key& MakeKey(Key& from, const std::vector<std::u16string>& path) {
    Key* key = &from;
    for (const std::u16string& name : path) {
        key = &key->MakeSubKey(name);
    }
    return *key;
}

} // namespace GS::RegistryStore
