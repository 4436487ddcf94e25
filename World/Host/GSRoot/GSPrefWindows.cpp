#include "GSPrefBackend.hpp"

#include "ByteOrder/LittleEndian.hpp"
#include "TextEncoding.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <utility>

// GSPref on the Windows registry: domain 2 is the local machine in its 64-bit view (an add-on reads
// the analysis application's 64-bit installation even from a 32-bit process), domain 1 the current
// user. Key paths are relative, UTF-8, backslash-separated; they become UTF-16 paths with empty
// components left out, as the store files read them elsewhere.
namespace GSPref::Backend {

namespace {

HKEY RootOf(RootKeyDomain domain) {
    return domain == RootKeyDomain::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM ViewOf(RootKeyDomain domain) {
    return domain == RootKeyDomain::LocalMachine ? KEY_WOW64_64KEY : 0;
}

std::wstring WideOf(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string Utf16Of(const wchar_t* text, std::size_t length) {
    return std::u16string(text, text + length);
}

std::wstring WidePath(const std::vector<std::u16string>& components) {
    std::wstring path;
    for (const std::u16string& component : components) {
        if (!path.empty()) {
            path += L'\\';
        }
        path += WideOf(component);
    }
    return path;
}

std::wstring WidePath(const std::string& utf8Path) {
    return WidePath(GS::RegistryStore::SplitKeyPath(utf8Path));
}

std::wstring WideName(const std::string& utf8Name) {
    return WideOf(GS::TextEncoding::Decode(utf8Name.data(), utf8Name.size(), CC_UTF8));
}

GSErrCode CodeOf(LSTATUS status) {
    switch (status) {
    case ERROR_SUCCESS:
        return NoError;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_UNSUPPORTED_TYPE:
        return GSErr::NotFound;
    case ERROR_INVALID_PARAMETER:
    case ERROR_BAD_PATHNAME:
        return GSErr::BadParameter;
    default:
        return GSErr::IOError;
    }
}

class OwnedKey {
public:
    OwnedKey() = default;
    ~OwnedKey() {
        if (key != nullptr) {
            ::RegCloseKey(key);
        }
    }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;

    HKEY Get() const { return key; }
    HKEY* Receive() { return &key; }

private:
    HKEY key = nullptr;
};

LSTATUS OpenKey(HKEY from, const std::wstring& path, REGSAM access, OwnedKey& opened) {
    return ::RegOpenKeyExW(from, path.c_str(), 0, access, opened.Receive());
}

class RegistryKey final : public OpenedKey {
public:
    explicit RegistryKey(RootKeyDomain keyDomain) : domain(keyDomain) {}

    OwnedKey key;

    GSErrCode EnumerateSubKeys(const std::string& keyPath, std::vector<std::u16string>& names) override {
        OwnedKey subKey;
        const LSTATUS opened =
            OpenKey(key.Get(), WidePath(keyPath), KEY_ENUMERATE_SUB_KEYS | ViewOf(domain), subKey);
        if (opened != ERROR_SUCCESS) {
            return CodeOf(opened);
        }
        // Key names are at most 255 characters.
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(std::size(name));
            const LSTATUS status =
                ::RegEnumKeyExW(subKey.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS) {
                return NoError;
            }
            if (status != ERROR_SUCCESS) {
                return CodeOf(status);
            }
            names.push_back(Utf16Of(name, length));
        }
    }

    GSErrCode ReadStringValue(const std::string& keyPath, const std::string& valueName,
                              std::u16string& text) override {
        OwnedKey subKey;
        const LSTATUS opened =
            OpenKey(key.Get(), WidePath(keyPath), KEY_QUERY_VALUE | ViewOf(domain), subKey);
        if (opened != ERROR_SUCCESS) {
            return CodeOf(opened);
        }
        const std::wstring name = WideName(valueName);
        // The value may change between asking for its size and reading it: ask again while it grows.
        std::wstring buffer;
        DWORD size = 0;
        LSTATUS status = ERROR_MORE_DATA;
        while (status == ERROR_MORE_DATA) {
            buffer.resize(size / sizeof(wchar_t) + 1);
            size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
            status = ::RegGetValueW(subKey.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr,
                                    buffer.data(), &size);
        }
        if (status != ERROR_SUCCESS) {
            return CodeOf(status);
        }
        // The size counts the terminating NUL that RegGetValueW guarantees.
        std::size_t length = size / sizeof(wchar_t);
        while (length > 0 && buffer[length - 1] == L'\0') {
            --length;
        }
        text = Utf16Of(buffer.data(), length);
        return NoError;
    }

private:
    RootKeyDomain domain;
};

Value ValueFromRegistry(const std::u16string& name, DWORD type, const std::vector<BYTE>& data) {
    Value value;
    value.name = name;
    value.type = type;
    if (type == REG_SZ) {
        std::u16string text(data.size() / 2, u'\0');
        for (std::size_t unit = 0; unit < text.size(); ++unit) {
            text[unit] = static_cast<char16_t>(LittleEndian::Read16(data.data() + 2 * unit));
        }
        while (!text.empty() && text.back() == u'\0') {
            text.pop_back();
        }
        value.text = std::move(text);
    } else {
        value.bytes.assign(data.begin(), data.end());
    }
    return value;
}

} // namespace

OpenedKey::~OpenedKey() = default;

std::unique_ptr<OpenedKey> Open(RootKeyDomain domain, const std::string& keyPath) {
    auto opened = std::make_unique<RegistryKey>(domain);
    if (OpenKey(RootOf(domain), WidePath(keyPath), KEY_READ | ViewOf(domain), opened->key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return opened;
}

GSErrCode WriteValue(RootKeyDomain domain, const std::string& keyPath, Value value) {
    const std::vector<std::u16string> components = GS::RegistryStore::SplitKeyPath(keyPath);
    for (const std::u16string& component : components) {
        if (!GS::RegistryStore::IsStorableName(component)) {
            return GSErr::BadParameter;
        }
    }
    OwnedKey key;
    LSTATUS status =
        ::RegCreateKeyExW(RootOf(domain), WidePath(components).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | ViewOf(domain), nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) {
        return CodeOf(status);
    }
    std::vector<BYTE> data;
    if (value.type == GS::RegistryStore::StringType) {
        // REG_SZ data is UTF-16LE with its terminating NUL.
        for (const char16_t unit : value.text) {
            LittleEndian::Append16(data, unit);
        }
        LittleEndian::Append16(data, 0);
    } else {
        data.assign(value.bytes.begin(), value.bytes.end());
    }
    status = ::RegSetValueExW(key.Get(), WideOf(value.name).c_str(), 0, value.type, data.data(),
                              static_cast<DWORD>(data.size()));
    return CodeOf(status);
}

GSErrCode ReadValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName,
                    Value& value) {
    OwnedKey key;
    LSTATUS status = OpenKey(RootOf(domain), WidePath(keyPath), KEY_QUERY_VALUE | ViewOf(domain), key);
    if (status != ERROR_SUCCESS) {
        return CodeOf(status);
    }
    const std::wstring name = WideName(valueName);
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    DWORD size = 0;
    status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        data.resize(size);
        size = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                                    data.empty() ? nullptr : data.data(), &size);
        if (status == ERROR_SUCCESS && data.size() < size) {
            // The first call only measured the value.
            status = ERROR_MORE_DATA;
        }
    }
    if (status != ERROR_SUCCESS) {
        return CodeOf(status);
    }
    data.resize(size);
    value =
        ValueFromRegistry(GS::TextEncoding::Decode(valueName.data(), valueName.size(), CC_UTF8), type, data);
    return NoError;
}

GSErrCode DeleteValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName) {
    OwnedKey key;
    const LSTATUS status = OpenKey(RootOf(domain), WidePath(keyPath), KEY_SET_VALUE | ViewOf(domain), key);
    if (status != ERROR_SUCCESS) {
        return CodeOf(status);
    }
    return CodeOf(::RegDeleteValueW(key.Get(), WideName(valueName).c_str()));
}

GSErrCode DeleteKey(RootKeyDomain domain, const std::string& keyPath) {
    std::vector<std::u16string> components = GS::RegistryStore::SplitKeyPath(keyPath);
    const std::wstring last = WideOf(components.back());
    components.pop_back();
    OwnedKey parent;
    const LSTATUS status =
        OpenKey(RootOf(domain), WidePath(components),
                KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | DELETE | ViewOf(domain), parent);
    if (status != ERROR_SUCCESS) {
        return CodeOf(status);
    }
    return CodeOf(::RegDeleteTreeW(parent.Get(), last.c_str()));
}

void SetStoreFolder(const std::string& /*utf8FolderPath*/) {}

std::string GetStoreDiagnostic(RootKeyDomain /*domain*/) {
    return {};
}

UInt64 GetStoreParseCount(RootKeyDomain /*domain*/) {
    return 0;
}

} // namespace GSPref::Backend
