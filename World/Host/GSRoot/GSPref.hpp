#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// The host's registry access. Key paths are 8-bit text with backslash separators, relative to the
// key that was opened; key and value names compare case-insensitively. On Windows this is the
// registry itself (local machine in its 64-bit view, and the current user); elsewhere each domain
// is one file in the registry export format (see RegistryStore.hpp).
namespace GSPref {

enum class RootKeyDomain : Int32 { CurrentUser = 1, LocalMachine = 2 };

// Receives subkey names during an enumeration.
class GSROOT_API SubKeyVisitor {
public:
    virtual ~SubKeyVisitor();
    virtual void operator()(const GS::UniString& subKeyName) const = 0;
};

// An opened key. Made by OpenRootKey, released by CloseRootKey.
class GSROOT_API IRoot {
public:
    virtual ~IRoot();

    // Calls `visitor` once for each direct subkey of `keyPath`, in the registry's order (sorted
    // case-insensitively, as Windows reports them). A missing key or one without subkeys: no call.
    virtual GSErrCode EnumerateSubKeys(const char* keyPath, const SubKeyVisitor& visitor) = 0;

    // Stores the text of the string value `valueName` of `keyPath` in `value`; when there is no
    // such string value, stores `defaultValue` (which may be the very same string as `value`).
    // `flags` is reserved and 0. Returns 0 when the value was found.
    virtual GSErrCode ReadStringValue(const char* keyPath, const char* valueName, GS::UniString& value,
                                      const GS::UniString& defaultValue, Int32 flags) = 0;
};

// Null when the key does not exist or cannot be opened.
GSROOT_API IRoot* OpenRootKey(RootKeyDomain domain, const char* keyPath);
// Releases `*root` and sets it to null; accepts the address of a null pointer.
GSROOT_API void CloseRootKey(IRoot** root);

// Host-side administration (the host and its tools, never add-ons): full key paths from the top of
// the domain. Missing keys on the way are created.
GSROOT_API GSErrCode WriteStringValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                                      const GS::UniString& value);
GSROOT_API GSErrCode WriteDWordValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                                     UInt32 value);
GSROOT_API GSErrCode WriteBinaryValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                                      const void* bytes, GSSize size);
// Reads a binary value into `buffer` (at most `bufferSize` bytes); `*valueSize` receives the
// value's whole size. NotFound when there is no such binary value.
GSROOT_API GSErrCode ReadBinaryValue(RootKeyDomain domain, const char* keyPath, const char* valueName,
                                     void* buffer, GSSize bufferSize, GSSize* valueSize);
GSROOT_API GSErrCode DeleteValue(RootKeyDomain domain, const char* keyPath, const char* valueName);
// Deletes the key with all its subkeys and values.
GSROOT_API GSErrCode DeleteKey(RootKeyDomain domain, const char* keyPath);

// Where the file-backed registry keeps its files (one per domain); ignored on Windows. Must be set
// by the host before the first registry call on platforms without a registry.
GSROOT_API void SetStoreFolder(const char* utf8FolderPath);

// Why the domain's store cannot be used ("LocalMachine.reg:7: value line outside a key"), or the
// empty string when it can. While a store file is malformed every call on its domain fails
// (OpenRootKey gives null, writes BadData) and the file is left exactly as it is; the message is
// also printed once on the debug output. Always empty on Windows.
GSROOT_API GS::UniString GetStoreDiagnostic(RootKeyDomain domain);

// How many times this process parsed the domain's store file: a file is parsed when first read and
// again only when its bytes changed. Always 0 on Windows.
GSROOT_API UInt64 GetStoreParseCount(RootKeyDomain domain);

} // namespace GSPref
