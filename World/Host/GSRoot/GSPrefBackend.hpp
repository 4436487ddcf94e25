#pragma once

#include "GSPref.hpp"
#include "RegistryStore.hpp"

#include <memory>
#include <string>
#include <vector>

// What each platform provides under GSPref: the registry itself on Windows, the store files
// elsewhere. The platform-neutral GSPref.cpp wraps it with argument checks, call reports and the
// conversion to GS::UniString. Nothing here allocates through GS::MemoryManager.
namespace GSPref::Backend {

using GS::RegistryStore::Value;

class OpenedKey {
public:
    virtual ~OpenedKey();
    // NotFound for a missing key; the names in enumeration order.
    virtual GSErrCode EnumerateSubKeys(const std::string& keyPath, std::vector<std::u16string>& names) = 0;
    // NotFound when the key or the value is missing, or the value is no string.
    virtual GSErrCode ReadStringValue(const std::string& keyPath, const std::string& valueName,
                                      std::u16string& text) = 0;
};

// Null when the key does not exist or the store cannot be read.
std::unique_ptr<OpenedKey> Open(RootKeyDomain domain, const std::string& keyPath);

GSErrCode WriteValue(RootKeyDomain domain, const std::string& keyPath, Value value);
GSErrCode ReadValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName,
                    Value& value);
GSErrCode DeleteValue(RootKeyDomain domain, const std::string& keyPath, const std::string& valueName);
GSErrCode DeleteKey(RootKeyDomain domain, const std::string& keyPath);

void SetStoreFolder(const std::string& utf8FolderPath);
std::string GetStoreDiagnostic(RootKeyDomain domain);
UInt64 GetStoreParseCount(RootKeyDomain domain);

} // namespace GSPref::Backend
