// How hostsim and the host libraries are linked, read from their ELF dynamic sections: the host has
// every one of its libraries loaded before any add-on (so no add-on brings one in and takes it away
// again at unload, with its process-wide state), and every import is bound at load, as a Windows
// loader binds a DLL's, so that an add-on's first call into the host finds nothing left to look up.

#include <gtest/gtest.h>

#include <elf.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct DynamicSection {
    std::vector<std::string> needed;
    bool bindNow = false;
};

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) > bytes.size()) {
        throw std::runtime_error("the file ends inside a header");
    }
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// The virtual address `address` as a file offset, through the loadable segments.
std::size_t FileOffset(const std::string& bytes, const Elf64_Ehdr& header, Elf64_Addr address) {
    for (Elf64_Half i = 0; i < header.e_phnum; ++i) {
        const auto segment = At<Elf64_Phdr>(bytes, header.e_phoff + i * sizeof(Elf64_Phdr));
        if (segment.p_type == PT_LOAD && address >= segment.p_vaddr &&
            address < segment.p_vaddr + segment.p_filesz) {
            return segment.p_offset + (address - segment.p_vaddr);
        }
    }
    throw std::runtime_error("an address outside every loadable segment");
}

DynamicSection ReadDynamicSection(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = std::move(content).str();
    const auto header = At<Elf64_Ehdr>(bytes, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        throw std::runtime_error(file.string() + " is not a 64-bit ELF file");
    }
    std::vector<Elf64_Dyn> entries;
    for (Elf64_Half i = 0; i < header.e_phnum; ++i) {
        const auto segment = At<Elf64_Phdr>(bytes, header.e_phoff + i * sizeof(Elf64_Phdr));
        if (segment.p_type != PT_DYNAMIC) {
            continue;
        }
        for (std::size_t at = segment.p_offset; at < segment.p_offset + segment.p_filesz;
             at += sizeof(Elf64_Dyn)) {
            entries.push_back(At<Elf64_Dyn>(bytes, at));
            if (entries.back().d_tag == DT_NULL) {
                break;
            }
        }
    }
    const auto strings = std::find_if(entries.begin(), entries.end(),
                                      [](const Elf64_Dyn& entry) { return entry.d_tag == DT_STRTAB; });
    if (strings == entries.end()) {
        throw std::runtime_error(file.string() + " has no dynamic string table");
    }
    const std::size_t stringTable = FileOffset(bytes, header, strings->d_un.d_ptr);
    DynamicSection section;
    for (const Elf64_Dyn& entry : entries) {
        if (entry.d_tag == DT_NEEDED) {
            section.needed.emplace_back(bytes.c_str() + stringTable + entry.d_un.d_val);
        } else if (entry.d_tag == DT_FLAGS && (entry.d_un.d_val & DF_BIND_NOW) != 0) {
            section.bindNow = true;
        } else if (entry.d_tag == DT_FLAGS_1 && (entry.d_un.d_val & DF_1_NOW) != 0) {
            section.bindNow = true;
        }
    }
    return section;
}

std::vector<std::filesystem::path> HostLibraries() {
    std::vector<std::filesystem::path> libraries;
    std::stringstream list(HOST_LIBRARY_PATHS);
    for (std::string path; std::getline(list, path, '|');) {
        libraries.emplace_back(path);
    }
    return libraries;
}

TEST(HostSimLinkage, HostSimHasEveryHostLibraryLoadedBeforeAnyAddOn) {
    const DynamicSection hostsim = ReadDynamicSection(HOSTSIM_PATH);
    const std::vector<std::filesystem::path> libraries = HostLibraries();
    ASSERT_GE(libraries.size(), 8u);
    for (const std::filesystem::path& library : libraries) {
        EXPECT_NE(std::find(hostsim.needed.begin(), hostsim.needed.end(), library.filename().string()),
                  hostsim.needed.end())
            << library.filename() << " would be loaded with the first add-on that uses it";
    }
}

TEST(HostSimLinkage, HostSimAndTheHostLibrariesBindEveryImportAtLoad) {
    EXPECT_TRUE(ReadDynamicSection(HOSTSIM_PATH).bindNow) << "hostsim";
    for (const std::filesystem::path& library : HostLibraries()) {
        EXPECT_TRUE(ReadDynamicSection(library).bindNow) << library.filename();
    }
}

} // namespace
