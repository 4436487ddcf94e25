#pragma once

#include "GSTypes.hpp"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// One registry hive held in memory, and its text form: the registry export format ("Windows
// Registry Editor Version 5.00", UTF-8 here). Platform neutral: it reads and writes bytes, the
// file handling is the caller's.
//
// Text form, as read:
//   - an optional UTF-8 byte order mark, then the header line; an empty file is an empty hive;
//   - key sections "[HKEY_LOCAL_MACHINE\SOFTWARE\VELD]" (the hive's name first, any case);
//   - value lines "name"=... or @=... (the key's default value) with the data
//       "text"          a string; \\ and \" are its only escapes
//       dword:0000002a  a 32-bit number, 1 to 8 hex digits
//       hex:01,02,ff    binary bytes; hex(N): bytes of value type N (hex(1) is a UTF-16LE string)
//     and a trailing backslash continuing the byte list on the next line;
//   - blank lines and lines starting with ';' (comments) are skipped; lines may end in CR LF.
// As written: LF line ends, no byte order mark, every key that has values or subkeys in its own
// section, depth first in enumeration order, values in the order they were made, byte lists
// wrapped at 80 columns. Strings holding control characters or unpaired surrogates are written as
// hex(1), which "text" cannot carry. Comments, blank lines and the order of sections are not kept
// (as the registry editor keeps none of them on import).
namespace GS::RegistryStore {

// Value types, as the registry numbers them.
constexpr UInt32 StringType = 1;
constexpr UInt32 BinaryType = 3;
constexpr UInt32 DWordType = 4;

struct Value {
    std::u16string name; // empty: the key's default value
    UInt32 type = StringType;
    std::u16string text;      // StringType
    std::vector<UInt8> bytes; // every other type; DWordType holds 4 bytes, little-endian
};

// Orders names as the registry compares them: by the code units of the upper-cased names.
struct NameLess {
    using is_transparent = void;
    bool operator()(std::u16string_view left, std::u16string_view right) const;
};

struct Key {
    std::u16string name;
    std::vector<Value> values; // in the order they were made; changed only through the functions below
    // The place in `values` of each value name: a key may hold tens of thousands of values, and
    // looking each up one by one made reading such a hive quadratic.
    std::map<std::u16string, std::size_t, NameLess> valuePlaces;
    std::vector<Key> subKeys; // in enumeration order, see CompareKeyNames

    Key* FindSubKey(std::u16string_view subKeyName);
    const Key* FindSubKey(std::u16string_view subKeyName) const;
    // The existing subkey of that name, or a new one in its sorted place.
    Key& MakeSubKey(std::u16string_view subKeyName);
    bool RemoveSubKey(std::u16string_view subKeyName);

    Value* FindValue(std::u16string_view valueName);
    const Value* FindValue(std::u16string_view valueName) const;
    // Replaces the data of an existing value (keeping its name's case) or adds the value.
    void SetValue(Value value);
    bool RemoveValue(std::u16string_view valueName);
};

// Windows' order of subkeys: by the code units of the upper-cased names.
Int32 CompareKeyNames(std::u16string_view left, std::u16string_view right);
bool NamesMatch(std::u16string_view left, std::u16string_view right);

// Whether a key or value name can be stored: not empty, without control characters (the text form
// has no way to write them in a name).
bool IsStorableName(std::u16string_view name);

// Splits a UTF-8 key path at backslashes; empty components (a leading, doubled or trailing
// backslash) are skipped.
std::vector<std::u16string> SplitKeyPath(std::string_view utf8Path);

// Walks `path` down from `from`; null when a key on the way is missing.
const Key* FindKey(const Key& from, const std::vector<std::u16string>& path);
Key* FindKey(Key& from, const std::vector<std::u16string>& path);
// Walks `path` down from `from`, making the keys that are missing.
Key& MakeKey(Key& from, const std::vector<std::u16string>& path);

// The hive's top key; its name is the hive's ("HKEY_LOCAL_MACHINE").
struct Hive {
    Key root;
};

struct ParseResult {
    bool ok = false;
    Hive hive;
    // "LocalMachine.reg:7: value line outside a key" when not ok.
    std::string error;
};

// `hiveName` is the name that every section must start with; `fileName` names the file in errors.
ParseResult Parse(const char* bytes, std::size_t byteCount, std::string_view hiveName,
                  std::string_view fileName);

std::string Write(const Hive& hive);

} // namespace GS::RegistryStore
