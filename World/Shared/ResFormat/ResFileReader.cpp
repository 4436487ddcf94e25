#include "ResFileReader.hpp"

#include "ByteOrder/LittleEndian.hpp"
#include "ResFileLayout.hpp"

#include <algorithm>
#include <string>
#include <utility>

namespace ResFormat {

namespace {

struct Problem {
    std::size_t offset;
    std::string message;
};

// Walks one entry header; every read is checked against the end of the header first.
class HeaderCursor {
public:
    HeaderCursor(std::span<const std::uint8_t> fileBytes, std::size_t entryStart, std::size_t headerEnd)
        : bytes(fileBytes), start(entryStart), position(entryStart + HeaderPrefixSize), end(headerEnd) {}

    ResName ReadName(const char* what) {
        const std::uint16_t first = ReadUInt16(what);
        if (first == OrdinalMarker) {
            return ResName::Ordinal(ReadUInt16(what));
        }
        std::u16string text;
        for (char16_t unit = first; unit != 0; unit = ReadUInt16(what)) {
            text.push_back(unit);
        }
        return ResName::Named(std::move(text));
    }

    void SkipToAlignment() { position = start + AlignToEntry(position - start); }

    std::uint16_t ReadUInt16(const char* what) {
        Require(2, what);
        const std::uint16_t value = LittleEndian::Read16(bytes.data() + position);
        position += 2;
        return value;
    }

    std::uint32_t ReadUInt32(const char* what) {
        Require(4, what);
        const std::uint32_t value = LittleEndian::Read32(bytes.data() + position);
        position += 4;
        return value;
    }

private:
    void Require(std::size_t count, const char* what) const {
        if (position > end || end - position < count) {
            // Alignment can carry `position` past the header's end, and so past the end of the file;
            // the place to name is where the header stops.
            throw Problem{std::min(position, end), std::string(what) + " does not fit in the entry's header"};
        }
    }

    std::span<const std::uint8_t> bytes;
    std::size_t start;
    std::size_t position;
    std::size_t end;
};

ResourceView ReadEntry(std::span<const std::uint8_t> bytes, std::size_t& offset) {
    const std::size_t remaining = bytes.size() - offset;
    if (remaining < HeaderPrefixSize) {
        throw Problem{offset, "entry header is cut off by the end of the file"};
    }
    const std::uint32_t dataSize = LittleEndian::Read32(bytes.data() + offset);
    const std::uint32_t headerSize = LittleEndian::Read32(bytes.data() + offset + 4);
    if (headerSize > remaining) {
        throw Problem{offset,
                      "header of " + std::to_string(headerSize) + " bytes runs past the end of the file"};
    }
    const std::size_t headerEnd = offset + headerSize;

    HeaderCursor cursor(bytes, offset, headerEnd);
    ResourceView entry;
    entry.type = cursor.ReadName("resource type");
    entry.name = cursor.ReadName("resource name");
    cursor.SkipToAlignment();
    entry.dataVersion = cursor.ReadUInt32("data version");
    entry.memoryFlags = cursor.ReadUInt16("memory flags");
    entry.language = cursor.ReadUInt16("language");
    entry.version = cursor.ReadUInt32("version");
    entry.characteristics = cursor.ReadUInt32("characteristics");

    if (dataSize > bytes.size() - headerEnd) {
        throw Problem{offset, "data of " + std::to_string(dataSize) + " bytes runs past the end of the file"};
    }
    entry.data = bytes.subspan(headerEnd, dataSize);
    offset = std::min(bytes.size(), AlignToEntry(headerEnd + dataSize));
    return entry;
}

bool IsLeadingEmptyEntry(const ResourceView& entry) {
    return entry.data.empty() && entry.type == ResName::Ordinal(0) && entry.name == ResName::Ordinal(0);
}

} // namespace

ResFileIndex IndexResFile(std::span<const std::uint8_t> bytes) {
    ResFileIndex index;
    try {
        std::size_t offset = 0;
        if (bytes.empty() || !IsLeadingEmptyEntry(ReadEntry(bytes, offset))) {
            throw Problem{0, "not a 32-bit resource file: it does not begin with the empty entry"};
        }
        while (offset < bytes.size()) {
            index.entries.push_back(ReadEntry(bytes, offset));
        }
    } catch (const Problem& problem) {
        index.entries.clear();
        index.problem = ResFileProblem{problem.offset, problem.message};
    }
    return index;
}

ResFileContents ReadResFile(std::span<const std::uint8_t> bytes) {
    ResFileIndex index = IndexResFile(bytes);
    ResFileContents contents;
    contents.problem = std::move(index.problem);
    contents.entries.reserve(index.entries.size());
    for (ResourceView& view : index.entries) {
        ResourceEntry entry;
        entry.type = std::move(view.type);
        entry.name = std::move(view.name);
        entry.language = view.language;
        entry.memoryFlags = view.memoryFlags;
        entry.dataVersion = view.dataVersion;
        entry.version = view.version;
        entry.characteristics = view.characteristics;
        entry.data.assign(view.data.begin(), view.data.end());
        contents.entries.push_back(std::move(entry));
    }
    return contents;
}

} // namespace ResFormat
