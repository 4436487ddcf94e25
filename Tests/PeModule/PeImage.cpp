#include "PeImage.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <fstream>
#include <iterator>

namespace PeModule {

namespace {

// Bounds-checked little-endian reads from the whole file.
class Bytes {
public:
    explicit Bytes(const std::vector<std::uint8_t>& fileBytes) : file(fileBytes) {}

    void Need(std::uint64_t offset, std::uint64_t count, const char* what) const {
        if (offset > file.size() || count > file.size() - offset) {
            throw PeFormatError(std::string(what) + " lies outside the file");
        }
    }
    std::uint16_t U16(std::uint64_t offset, const char* what) const {
        Need(offset, 2, what);
        return LittleEndian::Read16(file.data() + offset);
    }
    std::uint32_t U32(std::uint64_t offset, const char* what) const {
        Need(offset, 4, what);
        return LittleEndian::Read32(file.data() + offset);
    }
    std::string CString(std::uint64_t offset, const char* what) const {
        std::string text;
        for (;; ++offset) {
            Need(offset, 1, what);
            if (file[offset] == 0) {
                return text;
            }
            text += static_cast<char>(file[offset]);
        }
    }
    std::vector<std::uint8_t> Slice(std::uint64_t offset, std::uint64_t count, const char* what) const {
        Need(offset, count, what);
        return std::vector<std::uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(offset),
                                         file.begin() + static_cast<std::ptrdiff_t>(offset + count));
    }

private:
    const std::vector<std::uint8_t>& file;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

class Layout {
public:
    explicit Layout(std::vector<Section> fileSections) : sections(std::move(fileSections)) {}

    // Where the byte at `rva` lies in the file.
    std::uint64_t FileOffset(std::uint32_t rva, const char* what) const {
        for (const Section& section : sections) {
            const std::uint32_t extent = std::max(section.virtualSize, section.rawSize);
            if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) {
                if (rva - section.virtualAddress >= section.rawSize) {
                    throw PeFormatError(std::string(what) + " lies in no file bytes");
                }
                return std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
            }
        }
        throw PeFormatError(std::string(what) + " lies in no section");
    }

private:
    std::vector<Section> sections;
};

constexpr std::uint32_t ExportDirectoryIndex = 0;
constexpr std::uint32_t ImportDirectoryIndex = 1;
constexpr std::uint32_t ResourceDirectoryIndex = 2;
constexpr std::uint32_t HighBit = 0x80000000u;

std::vector<std::string> ReadExportNames(const Bytes& bytes, const Layout& layout, DataDirectory directory) {
    std::vector<std::string> names;
    if (directory.rva == 0) {
        return names;
    }
    const std::uint64_t table = layout.FileOffset(directory.rva, "the export directory");
    const std::uint32_t count = bytes.U32(table + 24, "the export name count");
    const std::uint32_t namesRva = bytes.U32(table + 32, "the export name table");
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::uint64_t entry = layout.FileOffset(namesRva, "the export name table") + 4ull * index;
        names.push_back(bytes.CString(layout.FileOffset(bytes.U32(entry, "an export name"), "an export name"),
                                      "an export name"));
    }
    return names;
}

std::vector<std::string> ReadImportedNames(const Bytes& bytes, const Layout& layout,
                                           std::uint32_t lookupRva) {
    std::vector<std::string> names;
    // 8-byte lookup entries up to a zero one: the high bit marks an import by ordinal, otherwise the
    // low 31 bits are the RVA of a 2-byte hint followed by the name.
    for (std::uint64_t entry = layout.FileOffset(lookupRva, "an import lookup table");; entry += 8) {
        const std::uint32_t low = bytes.U32(entry, "an import lookup entry");
        const std::uint32_t high = bytes.U32(entry + 4, "an import lookup entry");
        if (low == 0 && high == 0) {
            return names;
        }
        if ((high & HighBit) != 0) {
            names.push_back("#" + std::to_string(low & 0xFFFF));
            continue;
        }
        names.push_back(
            bytes.CString(layout.FileOffset(low & ~HighBit, "an imported name") + 2, "an imported name"));
    }
}

std::vector<PeImport> ReadImports(const Bytes& bytes, const Layout& layout, DataDirectory directory) {
    std::vector<PeImport> imports;
    if (directory.rva == 0) {
        return imports;
    }
    // 20-byte descriptors up to an all-zero one: the lookup table's RVA is at byte 0 (or, where a
    // linker left it out, the address table's at byte 16), the DLL's name RVA at byte 12.
    for (std::uint64_t entry = layout.FileOffset(directory.rva, "the import directory");; entry += 20) {
        const std::uint32_t lookupRva = bytes.U32(entry, "an import descriptor");
        const std::uint32_t nameRva = bytes.U32(entry + 12, "an import descriptor");
        const std::uint32_t addressRva = bytes.U32(entry + 16, "an import descriptor");
        if (nameRva == 0 && addressRva == 0) {
            return imports;
        }
        PeImport import;
        import.dll =
            bytes.CString(layout.FileOffset(nameRva, "an imported DLL's name"), "an imported DLL's name");
        import.names = ReadImportedNames(bytes, layout, lookupRva != 0 ? lookupRva : addressRva);
        imports.push_back(std::move(import));
    }
}

class ResourceTreeReader {
public:
    ResourceTreeReader(const Bytes& fileBytes, const Layout& fileLayout, std::uint64_t rootOffset)
        : bytes(fileBytes), layout(fileLayout), root(rootOffset) {}

    std::vector<PeResource> Read() {
        std::vector<PeResource> found;
        PeResource path;
        Walk(0, 0, path, found);
        return found;
    }

private:
    // The tree has three levels: type, name, language; the third level's entries point at data.
    void Walk(std::uint32_t directoryOffset, int level, PeResource& path, std::vector<PeResource>& found) {
        if (level > 2) {
            throw PeFormatError("the resource tree is deeper than type, name and language");
        }
        const std::uint64_t directory = root + directoryOffset;
        const std::uint32_t count = std::uint32_t{bytes.U16(directory + 12, "a resource directory")} +
                                    bytes.U16(directory + 14, "a resource directory");
        for (std::uint32_t index = 0; index < count; ++index) {
            const std::uint64_t entry = directory + 16 + 8ull * index;
            const std::uint32_t nameField = bytes.U32(entry, "a resource entry");
            const std::uint32_t target = bytes.U32(entry + 4, "a resource entry");
            const ResourceId id = IdOf(nameField);
            if (level == 0) {
                path.type = id;
            } else if (level == 1) {
                path.name = id;
            } else {
                path.language = id.number;
            }
            if ((target & HighBit) != 0) {
                Walk(target & ~HighBit, level + 1, path, found);
            } else {
                if (level != 2) {
                    throw PeFormatError("resource data above the language level");
                }
                const std::uint64_t dataEntry = root + target;
                const std::uint32_t dataRva = bytes.U32(dataEntry, "a resource data entry");
                const std::uint32_t size = bytes.U32(dataEntry + 4, "a resource data entry");
                PeResource resource = path;
                resource.bytes =
                    bytes.Slice(layout.FileOffset(dataRva, "resource data"), size, "resource data");
                found.push_back(std::move(resource));
            }
        }
    }

    ResourceId IdOf(std::uint32_t nameField) const {
        ResourceId id;
        if ((nameField & HighBit) == 0) {
            id.number = static_cast<std::uint16_t>(nameField);
            return id;
        }
        // A counted UTF-16 string, its offset relative to the tree's root.
        const std::uint64_t text = root + (nameField & ~HighBit);
        const std::uint16_t length = bytes.U16(text, "a resource name");
        id.isNumber = false;
        for (std::uint16_t unit = 0; unit < length; ++unit) {
            id.text += static_cast<char16_t>(bytes.U16(text + 2 + 2ull * unit, "a resource name"));
        }
        return id;
    }

    const Bytes& bytes;
    const Layout& layout;
    std::uint64_t root;
};

} // namespace

PeImage ReadPeImage(const std::vector<std::uint8_t>& file) {
    const Bytes bytes(file);
    if (bytes.U16(0, "the DOS header") != 0x5A4D) {
        throw PeFormatError("no MZ signature");
    }
    const std::uint64_t pe = bytes.U32(0x3C, "the DOS header");
    if (bytes.U32(pe, "the PE signature") != 0x00004550) {
        throw PeFormatError("no PE signature");
    }
    PeImage image;
    const std::uint64_t coff = pe + 4;
    image.machine = bytes.U16(coff, "the file header");
    const std::uint16_t sectionCount = bytes.U16(coff + 2, "the file header");
    const std::uint16_t optionalSize = bytes.U16(coff + 16, "the file header");
    image.characteristics = bytes.U16(coff + 18, "the file header");
    const std::uint64_t optional = coff + 20;
    image.optionalHeaderMagic = bytes.U16(optional, "the optional header");
    if (image.optionalHeaderMagic != PeImage::Pe32PlusMagic) {
        return image;
    }
    // PE32+: the directory count at byte 108, the directories from byte 112, 8 bytes each.
    const std::uint32_t directoryCount = bytes.U32(optional + 108, "the optional header");
    const auto directoryAt = [&](std::uint32_t index) {
        DataDirectory directory;
        if (index < directoryCount && 112u + 8u * (index + 1) <= optionalSize) {
            directory.rva = bytes.U32(optional + 112 + 8ull * index, "a data directory");
            directory.size = bytes.U32(optional + 116 + 8ull * index, "a data directory");
        }
        return directory;
    };
    std::vector<Section> sections;
    const std::uint64_t sectionTable = optional + optionalSize;
    for (std::uint16_t index = 0; index < sectionCount; ++index) {
        const std::uint64_t header = sectionTable + 40ull * index;
        sections.push_back(
            Section{bytes.U32(header + 12, "a section header"), bytes.U32(header + 8, "a section header"),
                    bytes.U32(header + 20, "a section header"), bytes.U32(header + 16, "a section header")});
    }
    const Layout layout(std::move(sections));
    image.exportNames = ReadExportNames(bytes, layout, directoryAt(ExportDirectoryIndex));
    image.imports = ReadImports(bytes, layout, directoryAt(ImportDirectoryIndex));
    for (const PeImport& import : image.imports) {
        image.importedDlls.push_back(import.dll);
    }
    const DataDirectory resources = directoryAt(ResourceDirectoryIndex);
    if (resources.rva != 0) {
        ResourceTreeReader tree(bytes, layout, layout.FileOffset(resources.rva, "the resource directory"));
        image.resources = tree.Read();
    }
    return image;
}

PeImage ReadPeImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw PeFormatError("cannot open " + path);
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    return ReadPeImage(file);
}

} // namespace PeModule
