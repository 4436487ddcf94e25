#include "GSPref.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "GSPrefBackend.hpp"
#include "MemoryManager.hpp"
#include "TextEncoding.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace GSPref {

using GS::CallDetails::Quote;

namespace {

std::string Text(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

std::string DomainText(RootKeyDomain domain) {
    return std::to_string(static_cast<Int32>(domain));
}

bool IsKnownDomain(RootKeyDomain domain) {
    return domain == RootKeyDomain::CurrentUser || domain == RootKeyDomain::LocalMachine;
}

std::string CodeText(GSErrCode code) {
    return "code=" + std::to_string(code);
}

class OpenedRoot final : public IRoot {
public:
    OpenedRoot(RootKeyDomain keyDomain, std::string path, std::unique_ptr<Backend::OpenedKey> openedKey)
        : domain(keyDomain), rootPath(std::move(path)), key(std::move(openedKey)) {}

    GSErrCode EnumerateSubKeys(const char* keyPath, const SubKeyVisitor& visitor) override;
    GSErrCode ReadStringValue(const char* keyPath, const char* valueName, GS::UniString& value,
                              const GS::UniString& defaultValue, Int32 flags) override;

    std::string Describe() const { return "domain=" + DomainText(domain) + " root=" + Quote(rootPath); }

private:
    RootKeyDomain domain;
    std::string rootPath;
    std::unique_ptr<Backend::OpenedKey> key;
};

GSErrCode OpenedRoot::EnumerateSubKeys(const char* keyPath, const SubKeyVisitor& visitor) {
    constexpr const char* operation = "GSPref::EnumerateSubKeys";
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored ? GS::ReportCall(operation, (Describe() + " key=" + Quote(keyPath)).c_str()) : NoError;
    if (answer != NoError) {
        GS::ReportResult(operation, CodeText(answer).c_str());
        return answer;
    }
    std::vector<std::u16string> names;
    const GSErrCode code = key->EnumerateSubKeys(Text(keyPath), names);
    {
        // The names are GSRoot's own temporaries; the visitor copies what it keeps under its owner.
        std::vector<GS::UniString> subKeyNames;
        {
            GS::MemoryOwnerScope hostOwned(GS::HostMemoryOwner);
            subKeyNames.reserve(names.size());
            for (const std::u16string& name : names) {
                subKeyNames.emplace_back(name.data(), static_cast<UIndex>(name.size()));
            }
        }
        for (const GS::UniString& name : subKeyNames) {
            visitor(name);
        }
    }
    if (monitored) {
        GS::ReportResult(operation, (CodeText(code) + " count=" + std::to_string(names.size())).c_str());
    }
    return code;
}

GSErrCode OpenedRoot::ReadStringValue(const char* keyPath, const char* valueName, GS::UniString& value,
                                      const GS::UniString& defaultValue, Int32 /*flags*/) {
    constexpr const char* operation = "GSPref::ReadStringValue";
    const bool monitored = GS::IsCallMonitorActive();
    GSErrCode code =
        monitored
            ? GS::ReportCall(operation,
                             (Describe() + " key=" + Quote(keyPath) + " value=" + Quote(valueName)).c_str())
            : NoError;
    std::u16string text;
    if (code == NoError) {
        code = key->ReadStringValue(Text(keyPath), Text(valueName), text);
    }
    if (code == NoError) {
        value = GS::UniString(text.data(), static_cast<UIndex>(text.size()));
    } else if (&value != &defaultValue) {
        value = defaultValue;
    }
    if (monitored) {
        const GS::UniString::CStr stored = value.ToUTF8();
        GS::ReportResult(operation, (CodeText(code) + " value=" + Quote(stored.Get())).c_str());
    }
    return code;
}

} // namespace

SubKeyVisitor::~SubKeyVisitor() = default;

IRoot::~IRoot() = default;

IRoot* OpenRootKey(RootKeyDomain domain, const char* keyPath) {
    constexpr const char* operation = "GSPref::OpenRootKey";
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored
            ? GS::ReportCall(operation, ("domain=" + DomainText(domain) + " key=" + Quote(keyPath)).c_str())
            : NoError;
    IRoot* root = nullptr;
    if (answer == NoError && IsKnownDomain(domain) && keyPath != nullptr) {
        std::unique_ptr<Backend::OpenedKey> key = Backend::Open(domain, keyPath);
        if (key != nullptr) {
            root = new OpenedRoot(domain, keyPath, std::move(key));
        }
    }
    if (monitored) {
        GS::ReportResult(operation, answer != NoError ? ("null " + CodeText(answer)).c_str()
                                    : root != nullptr ? "opened"
                                                      : "null");
    }
    return root;
}

void CloseRootKey(IRoot** root) {
    constexpr const char* operation = "GSPref::CloseRootKey";
    if (GS::IsCallMonitorActive()) {
        const IRoot* opened = root != nullptr ? *root : nullptr;
        const auto* known = dynamic_cast<const OpenedRoot*>(opened);
        GS::ReportCall(operation, known != nullptr ? known->Describe().c_str() : "root=null");
        GS::ReportResult(operation, "closed");
    }
    if (root != nullptr) {
        delete *root;
        *root = nullptr;
    }
}

namespace {

GSErrCode CheckAdministration(RootKeyDomain domain, const char* keyPath) {
    return IsKnownDomain(domain) && keyPath != nullptr ? NoError : GSErr::BadParameter;
}

GSErrCode CheckValueName(const char* valueName) {
    if (valueName == nullptr) {
        return GSErr::BadParameter;
    }
    const std::u16string name =
        GS::TextEncoding::Decode(valueName, std::char_traits<char>::length(valueName), CC_UTF8);
    return name.empty() || GS::RegistryStore::IsStorableName(name) ? NoError : GSErr::BadParameter;
}

GSErrCode WriteValue(RootKeyDomain domain, const char* keyPath, const char* valueName, Backend::Value value) {
    GSErrCode code = CheckAdministration(domain, keyPath);
    if (code == NoError) {
        code = CheckValueName(valueName);
    }
    if (code != NoError) {
        return code;
    }
    value.name = GS::TextEncoding::Decode(valueName, std::char_traits<char>::length(valueName), CC_UTF8);
    return Backend::WriteValue(domain, keyPath, std::move(value));
}

} // namespace

GSErrCode WriteStringValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                           const GS::UniString& value) {
    Backend::Value stored;
    stored.type = GS::RegistryStore::StringType;
    stored.text.assign(value.ToUStr(), value.GetLength());
    return WriteValue(domain, keyPath, valueName, std::move(stored));
}

GSErrCode WriteDWordValue(RootKeyDomain domain, const char* keyPath, const char* valueName, UInt32 value) {
    Backend::Value stored;
    stored.type = GS::RegistryStore::DWordType;
    LittleEndian::Append32(stored.bytes, value);
    return WriteValue(domain, keyPath, valueName, std::move(stored));
}

GSErrCode WriteBinaryValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                           const void* bytes, GSSize size) {
    if (size < 0 || (bytes == nullptr && size > 0)) {
        return GSErr::BadParameter;
    }
    Backend::Value stored;
    stored.type = GS::RegistryStore::BinaryType;
    const auto* first = static_cast<const UInt8*>(bytes);
    stored.bytes.assign(first, first + size);
    return WriteValue(domain, keyPath, valueName, std::move(stored));
}

GSErrCode ReadBinaryValue(RootKeyDomain domain, const char* keyPath, const char* valueName, void* buffer,
                          GSSize bufferSize, GSSize* valueSize) {
    if (CheckAdministration(domain, keyPath) != NoError || valueName == nullptr || bufferSize < 0 ||
        (buffer == nullptr && bufferSize > 0)) {
        return GSErr::BadParameter;
    }
    Backend::Value value;
    const GSErrCode code = Backend::ReadValue(domain, keyPath, valueName, value);
    if (code != NoError) {
        return code;
    }
    if (value.type != GS::RegistryStore::BinaryType) {
        return GSErr::NotFound;
    }
    const std::size_t copied = std::min(value.bytes.size(), static_cast<std::size_t>(bufferSize));
    std::copy_n(value.bytes.begin(), copied, static_cast<UInt8*>(buffer));
    if (valueSize != nullptr) {
        *valueSize = static_cast<GSSize>(value.bytes.size());
    }
    return NoError;
}

GSErrCode DeleteValue(RootKeyDomain domain, const char* keyPath, const char* valueName) {
    const GSErrCode code = CheckAdministration(domain, keyPath);
    if (code != NoError || valueName == nullptr) {
        return code != NoError ? code : GSErr::BadParameter;
    }
    return Backend::DeleteValue(domain, keyPath, valueName);
}

GSErrCode DeleteKey(RootKeyDomain domain, const char* keyPath) {
    const GSErrCode code = CheckAdministration(domain, keyPath);
    if (code != NoError || GS::RegistryStore::SplitKeyPath(keyPath).empty()) {
        return code != NoError ? code : GSErr::BadParameter;
    }
    return Backend::DeleteKey(domain, keyPath);
}

void SetStoreFolder(const char* utf8FolderPath) {
    Backend::SetStoreFolder(Text(utf8FolderPath));
}

UInt64 GetStoreParseCount(RootKeyDomain domain) {
    return Backend::GetStoreParseCount(domain);
}

GS::UniString GetStoreDiagnostic(RootKeyDomain domain) {
    const std::string diagnostic = Backend::GetStoreDiagnostic(domain);
    return GS::UniString(diagnostic.c_str(), CC_UTF8);
}

} // namespace GSPref
