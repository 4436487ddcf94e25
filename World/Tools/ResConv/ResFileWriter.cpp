#include "ResFileWriter.hpp"

#include "ByteOrder/LittleEndian.hpp"
#include "ResFormat/ResFileLayout.hpp"

#include <cassert>
#include <stdexcept>

namespace ResConv {

namespace {

using LittleEndian::Append16;
using LittleEndian::Append32;

void AppendName(std::vector<std::uint8_t>& out, const ResFormat::ResName& name) {
    if (name.IsOrdinal()) {
        Append16(out, ResFormat::OrdinalMarker);
        Append16(out, name.GetOrdinal());
        return;
    }
    for (char16_t unit : name.GetText()) {
        Append16(out, unit);
    }
    Append16(out, 0);
}

void PadToEntryAlignment(std::vector<std::uint8_t>& out) {
    out.resize(ResFormat::AlignToEntry(out.size()), 0);
}

void AppendEntry(std::vector<std::uint8_t>& out, const ResFormat::ResourceEntry& entry) {
    // Every entry starts on the boundary, where the one before it was padded to.
    assert(out.size() == ResFormat::AlignToEntry(out.size()));
    std::vector<std::uint8_t> header;
    AppendName(header, entry.type);
    AppendName(header, entry.name);
    // Header alignment counts from the entry's start, which is itself aligned: the prefix of
    // DataSize and HeaderSize (8 bytes) keeps it so.
    header.resize(ResFormat::AlignToEntry(ResFormat::HeaderPrefixSize + header.size()) -
                      ResFormat::HeaderPrefixSize,
                  0);
    Append32(header, entry.dataVersion);
    Append16(header, entry.memoryFlags);
    Append16(header, entry.language);
    Append32(header, entry.version);
    Append32(header, entry.characteristics);

    const std::size_t headerSize = ResFormat::HeaderPrefixSize + header.size();
    assert(headerSize == ResFormat::AlignToEntry(headerSize) && "the data starts aligned as well");
    if (entry.data.size() > 0xFFFFFFFFu || headerSize > 0xFFFFFFFFu) {
        throw std::length_error("resource too large for a .res file");
    }
    Append32(out, static_cast<std::uint32_t>(entry.data.size()));
    Append32(out, static_cast<std::uint32_t>(headerSize));
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), entry.data.begin(), entry.data.end());
    PadToEntryAlignment(out);
}

} // namespace

std::vector<std::uint8_t> WriteResFile(const std::vector<ResFormat::ResourceEntry>& entries) {
    std::vector<std::uint8_t> out;
    AppendEntry(out, ResFormat::ResourceEntry{});
    for (const ResFormat::ResourceEntry& entry : entries) {
        AppendEntry(out, entry);
    }
    return out;
}

} // namespace ResConv
