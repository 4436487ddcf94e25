#include "ByteOrder/LittleEndian.hpp"
#include "FuzzCheck.hpp"
#include "ResFormat/ResFileLayout.hpp"
#include "ResFormat/ResFileReader.hpp"
#include "ResFormat/StringListFormat.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The .res reader and the string-list reader that RS applies to every "STRS" resource. Whatever the
// reader accepts is written out again in the resource-file layout (a writer of our own, from the
// layout alone) and must read back as the same entries; a string list's texts, each with its NUL,
// must be exactly the bytes after its count.
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
        Append16(out, static_cast<std::uint16_t>(unit));
    }
    Append16(out, 0);
}

void PadToEntry(std::vector<std::uint8_t>& out) {
    out.resize(ResFormat::AlignToEntry(out.size()), 0);
}

void AppendEntry(std::vector<std::uint8_t>& out, const ResFormat::ResourceEntry& entry) {
    std::vector<std::uint8_t> names;
    AppendName(names, entry.type);
    AppendName(names, entry.name);
    PadToEntry(names);
    Append32(out, static_cast<std::uint32_t>(entry.data.size()));
    Append32(out, static_cast<std::uint32_t>(ResFormat::HeaderPrefixSize + names.size() +
                                             ResFormat::HeaderTailSize));
    out.insert(out.end(), names.begin(), names.end());
    Append32(out, entry.dataVersion);
    Append16(out, entry.memoryFlags);
    Append16(out, entry.language);
    Append32(out, entry.version);
    Append32(out, entry.characteristics);
    out.insert(out.end(), entry.data.begin(), entry.data.end());
    PadToEntry(out);
}

std::vector<std::uint8_t> WriteResFile(const std::vector<ResFormat::ResourceEntry>& entries) {
    std::vector<std::uint8_t> out;
    ResFormat::ResourceEntry leading;
    leading.type = ResFormat::ResName::Ordinal(0);
    leading.name = ResFormat::ResName::Ordinal(0);
    AppendEntry(out, leading);
    for (const ResFormat::ResourceEntry& entry : entries) {
        AppendEntry(out, entry);
    }
    return out;
}

bool SameEntry(const ResFormat::ResourceEntry& left, const ResFormat::ResourceEntry& right) {
    return left.type == right.type && left.name == right.name && left.language == right.language &&
           left.memoryFlags == right.memoryFlags && left.dataVersion == right.dataVersion &&
           left.version == right.version && left.characteristics == right.characteristics &&
           left.data == right.data;
}

void CheckStringList(std::span<const std::uint8_t> payload) {
    const ResFormat::StringList list = ResFormat::ParseStringList(payload);
    if (list.problem) {
        FUZZ_REQUIRE(list.texts.empty(), "a malformed list has no texts");
        return;
    }
    std::string joined;
    for (std::string_view text : list.texts) {
        FUZZ_REQUIRE(text.find('\0') == std::string_view::npos, "a text holds no NUL");
        joined.append(text);
        joined.push_back('\0');
    }
    FUZZ_REQUIRE(payload.size() == 4 + joined.size() &&
                     joined == std::string(reinterpret_cast<const char*>(payload.data() + 4), joined.size()),
                 "a list's texts and their NULs are exactly the bytes after its count");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ResFormat::ResFileContents contents = ResFormat::ReadResFile(bytes);
    CheckStringList(bytes);
    if (contents.problem) {
        FUZZ_REQUIRE(contents.entries.empty(), "a malformed file has no entries");
        FUZZ_REQUIRE(contents.problem->offset <= size, "a problem's offset lies inside the file");
        return 0;
    }
    for (const ResFormat::ResourceEntry& entry : contents.entries) {
        if (entry.type.MatchesIgnoringCase(ResFormat::StringListTypeName)) {
            CheckStringList(entry.data);
        }
        (void)entry.type.ToDisplayString();
        (void)entry.name.ToDisplayString();
    }
    const std::vector<std::uint8_t> rewritten = WriteResFile(contents.entries);
    const ResFormat::ResFileContents again = ResFormat::ReadResFile(rewritten);
    FUZZ_REQUIRE(!again.problem, "a file written from accepted entries is accepted");
    FUZZ_REQUIRE(again.entries.size() == contents.entries.size(), "it holds as many entries");
    for (std::size_t index = 0; index < again.entries.size(); ++index) {
        FUZZ_REQUIRE(SameEntry(again.entries[index], contents.entries[index]), "each entry reads back equal");
    }
    return 0;
}
