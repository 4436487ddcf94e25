#include "ModuleResourceReader.hpp"

#include "ResFormat/ResFileLayout.hpp"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The module's PE resources, as the loader mapped them: at the first lookup every type, name and
// language is listed with the resource enumeration calls and the host language's bytes found with
// FindResourceExW, then copied so that the resource module owns them independently of the mapping.
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

// True when `module` is the load address of a module that is loaded now. Any address inside a
// module names that module, so an address that is not the module's start is no module.
bool IsLoadedModule(HMODULE module) {
    HMODULE found = nullptr;
    return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                reinterpret_cast<LPCWSTR>(module), &found) != 0 &&
           found == module;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The resource directory entry of the loaded image's headers: empty when the module has no resources.
bool HasResourceDirectory(HMODULE module) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(module);
    IMAGE_DOS_HEADER dosHeader{};
    std::memcpy(&dosHeader, base, sizeof dosHeader);
    IMAGE_NT_HEADERS64 ntHeaders{};
    std::memcpy(&ntHeaders, base + dosHeader.e_lfanew, sizeof ntHeaders);
    return ntHeaders.OptionalHeader.NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_RESOURCE &&
           ntHeaders.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size > 0;
}

class PeResourceSource : public ModuleResourceSource {
public:
    PeResourceSource(HMODULE loadedModule, std::wstring loadedPath)
        : module(loadedModule), path(std::move(loadedPath)) {}

    bool IsSameImage(const ModuleResourceSource& other) const override {
        const auto* pe = dynamic_cast<const PeResourceSource*>(&other);
        return pe != nullptr && pe->module == module && pe->path == path;
    }

    bool Find() override { return HasResourceDirectory(module); }

    // The image must still be the one that was opened: a module unloaded before its first lookup
    // has nothing left to read.
    std::optional<ModuleResources> Read() const override {
        if (!IsLoadedModule(module) || ModulePath(module) != path) {
            return std::nullopt;
        }
        std::vector<ResName> types;
        if (::EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&types)) == 0) {
            return std::nullopt;
        }
        auto copies = std::make_shared<std::vector<std::vector<std::uint8_t>>>();
        std::vector<std::pair<ResName, ResName>> names;
        for (const ResName& type : types) {
            const ResourceId typeId(type);
            std::vector<ResName> typeNames;
            ::EnumResourceNamesW(module, typeId.Get(), CollectName, reinterpret_cast<LONG_PTR>(&typeNames));
            for (const ResName& name : typeNames) {
                const ResourceId nameId(name);
                std::vector<WORD> languages;
                ::EnumResourceLanguagesW(module, typeId.Get(), nameId.Get(), CollectLanguage,
                                         reinterpret_cast<LONG_PTR>(&languages));
                for (const WORD language : languages) {
                    if (language != ResFormat::LanguageEnglishUS) {
                        continue;
                    }
                    std::optional<std::vector<std::uint8_t>> bytes =
                        ResourceBytes(module, typeId.Get(), nameId.Get(), language);
                    if (!bytes) {
                        return std::nullopt;
                    }
                    copies->push_back(std::move(*bytes));
                    names.emplace_back(type, name);
                }
            }
        }
        // The views are taken once every copy is in place, so that none of them moves afterwards.
        ModuleResources read;
        for (std::size_t i = 0; i < names.size(); ++i) {
            read.resources.push_back(ModuleResource{names[i].first, names[i].second, (*copies)[i]});
        }
        read.storage = std::move(copies);
        return read;
    }

private:
    HMODULE module;
    std::wstring path;
};

} // namespace

std::unique_ptr<ModuleResourceSource> IdentifyModuleImage(HINSTANCE module) {
    HMODULE image = module != nullptr ? module : ::GetModuleHandleW(nullptr);
    if (!IsLoadedModule(image)) {
        return nullptr;
    }
    return std::make_unique<PeResourceSource>(image, ModulePath(image));
}

} // namespace RS
