#include "ModuleResourceReader.hpp"

#include <cstring>
#include <string>

// The module's PE resources, as the loader mapped them: every type, name and language is listed with
// the resource enumeration calls and each one's bytes found with FindResourceExW, then copied so
// that the resource module owns them independently of the mapping.
namespace RS {

namespace {

using ResFormat::ResName;

ResName NameOf(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return ResName::Ordinal(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    }
    const std::size_t length = std::wcslen(name);
    return ResName::Named(std::u16string(name, name + length));
}

// What FindResourceExW takes back: an ordinal as MAKEINTRESOURCEW, a name as its text, which must
// outlive the call.
class ResourceId {
public:
    explicit ResourceId(const ResName& name)
        : text(name.IsOrdinal() ? std::wstring()
                                : std::wstring(name.GetText().begin(), name.GetText().end())),
          ordinal(name.IsOrdinal() ? name.GetOrdinal() : 0), isOrdinal(name.IsOrdinal()) {}

    LPCWSTR Get() const { return isOrdinal ? MAKEINTRESOURCEW(ordinal) : text.c_str(); }

private:
    std::wstring text;
    WORD ordinal;
    bool isOrdinal;
};

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR found) {
    reinterpret_cast<std::vector<ResName>*>(found)->push_back(NameOf(type));
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    reinterpret_cast<std::vector<ResName>*>(found)->push_back(NameOf(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
}

std::optional<std::vector<std::uint8_t>> ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name,
                                                       WORD language) {
    HRSRC resource = ::FindResourceExW(module, type, name, language);
    if (resource == nullptr) {
        return std::nullopt;
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr && size > 0) {
        return std::nullopt;
    }
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    return std::vector<std::uint8_t>(first, first + size);
}

} // namespace

std::optional<std::vector<ResFormat::ResourceEntry>> ReadModuleResources(HINSTANCE module) {
    HMODULE image = module != nullptr ? module : ::GetModuleHandleW(nullptr);
    std::vector<ResName> types;
    if (::EnumResourceTypesW(image, CollectType, reinterpret_cast<LONG_PTR>(&types)) == 0) {
        return std::nullopt;
    }
    std::vector<ResFormat::ResourceEntry> entries;
    for (const ResName& type : types) {
        const ResourceId typeId(type);
        std::vector<ResName> names;
        ::EnumResourceNamesW(image, typeId.Get(), CollectName, reinterpret_cast<LONG_PTR>(&names));
        for (const ResName& name : names) {
            const ResourceId nameId(name);
            std::vector<WORD> languages;
            ::EnumResourceLanguagesW(image, typeId.Get(), nameId.Get(), CollectLanguage,
                                     reinterpret_cast<LONG_PTR>(&languages));
            for (const WORD language : languages) {
                std::optional<std::vector<std::uint8_t>> bytes =
                    ResourceBytes(image, typeId.Get(), nameId.Get(), language);
                if (!bytes) {
                    return std::nullopt;
                }
                ResFormat::ResourceEntry entry;
                entry.type = type;
                entry.name = name;
                entry.language = language;
                entry.data = std::move(*bytes);
                entries.push_back(std::move(entry));
            }
        }
    }
    return entries;
}

} // namespace RS
