#pragma once

#include <cstddef>
#include <cstdint>

// The 32-bit Windows resource file (.res). The file is a run of entries, each a RESOURCEHEADER
// followed by the resource's bytes:
//
//   DWORD DataSize          bytes of resource data after the header
//   DWORD HeaderSize        bytes of this header, names and padding included
//   TYPE, NAME              each 0xFFFF + WORD ordinal, or a NUL-terminated UTF-16 name
//   (padding to a DWORD boundary)
//   DWORD DataVersion
//   WORD  MemoryFlags
//   WORD  LanguageId
//   DWORD Version
//   DWORD Characteristics
//
// The data is padded to a DWORD boundary, so every header starts DWORD-aligned. The first entry is
// always empty (type 0, name 0, no data, a 32-byte header): it is what tells a 32-bit resource
// file from a 16-bit one.
namespace ResFormat {

constexpr std::size_t EntryAlignment = 4;
constexpr std::uint16_t OrdinalMarker = 0xFFFF;
// DataSize and HeaderSize.
constexpr std::size_t HeaderPrefixSize = 8;
// DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
constexpr std::size_t HeaderTailSize = 16;
constexpr std::uint32_t LeadingEntryHeaderSize = 32;

constexpr std::uint16_t LanguageEnglishUS = 1033;

// Memory flags: meaningless to 32-bit Windows, kept in the file for compatibility; resource
// compilers write MOVEABLE | PURE for resources of named (user-defined) types and for manifests,
// MOVEABLE | DISCARDABLE for icons and all three for icon groups.
constexpr std::uint16_t MemoryMoveable = 0x0010;
constexpr std::uint16_t MemoryPure = 0x0020;
constexpr std::uint16_t MemoryDiscardable = 0x1000;

// The Windows resource types that a module holds besides the host's named ones.
constexpr std::uint16_t TypeIcon = 3;
constexpr std::uint16_t TypeIconGroup = 14;
constexpr std::uint16_t TypeManifest = 24;

constexpr std::size_t AlignToEntry(std::size_t offset) {
    return (offset + EntryAlignment - 1) / EntryAlignment * EntryAlignment;
}

} // namespace ResFormat
