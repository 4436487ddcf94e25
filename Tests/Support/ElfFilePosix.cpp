#include "ElfFile.hpp"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {
using Bytes = std::vector<char>;

template <typename T>
T ReadAt(const Bytes& bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
        throw std::runtime_error("ELF structure runs past the end of the file");
    }
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    Bytes bytes(static_cast<std::size_t>(file.tellg()));
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::string NameAt(const Bytes& bytes, const Elf64_Shdr& stringTable, std::size_t nameOffset) {
    if (nameOffset >= stringTable.sh_size || stringTable.sh_offset + stringTable.sh_size > bytes.size()) {
        throw std::runtime_error("symbol name outside its string table");
    }
    const char* start = bytes.data() + stringTable.sh_offset + nameOffset;
    return std::string(start, strnlen(start, stringTable.sh_size - nameOffset));
}
std::vector<Elf64_Shdr> SectionHeaders(const Bytes& bytes, const std::string& path) {
    const auto header = ReadAt<Elf64_Ehdr>(bytes, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        throw std::runtime_error(path + " is not an ELF64 object");
    }
    std::vector<Elf64_Shdr> sections;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        sections.push_back(ReadAt<Elf64_Shdr>(bytes, header.e_shoff + i * header.e_shentsize));
    }
    return sections;
}
} // namespace

std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    const std::vector<Elf64_Shdr> sections = SectionHeaders(bytes, path);

    std::set<std::string> names;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNSYM) {
            continue;
        }
        if (section.sh_link >= sections.size() || section.sh_entsize != sizeof(Elf64_Sym)) {
            throw std::runtime_error("malformed dynamic symbol table");
        }
        const Elf64_Shdr& stringTable = sections[section.sh_link];
        for (std::size_t offset = 0; offset + sizeof(Elf64_Sym) <= section.sh_size;
             offset += sizeof(Elf64_Sym)) {
            const auto symbol = ReadAt<Elf64_Sym>(bytes, section.sh_offset + offset);
            const bool defined = symbol.st_shndx != SHN_UNDEF;
            const bool visible = ELF64_ST_BIND(symbol.st_info) != STB_LOCAL;
            if (defined && visible && symbol.st_name != 0) {
                names.insert(NameAt(bytes, stringTable, symbol.st_name));
            }
        }
    }
    return names;
}

DynamicLinkage ReadDynamicLinkage(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    const std::vector<Elf64_Shdr> sections = SectionHeaders(bytes, path);

    DynamicLinkage linkage;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNAMIC) {
            continue;
        }
        if (section.sh_link >= sections.size() || section.sh_entsize != sizeof(Elf64_Dyn)) {
            throw std::runtime_error("malformed dynamic section");
        }
        const Elf64_Shdr& stringTable = sections[section.sh_link];
        for (std::size_t offset = 0; offset + sizeof(Elf64_Dyn) <= section.sh_size;
             offset += sizeof(Elf64_Dyn)) {
            const auto entry = ReadAt<Elf64_Dyn>(bytes, section.sh_offset + offset);
            if (entry.d_tag == DT_NULL) {
                break;
            }
            if (entry.d_tag == DT_NEEDED) {
                linkage.needed.push_back(NameAt(bytes, stringTable, entry.d_un.d_val));
            } else if ((entry.d_tag == DT_FLAGS && (entry.d_un.d_val & DF_BIND_NOW) != 0) ||
                       (entry.d_tag == DT_FLAGS_1 && (entry.d_un.d_val & DF_1_NOW) != 0)) {
                linkage.bindNow = true;
            }
        }
    }
    return linkage;
}
