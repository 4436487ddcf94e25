#include "ModuleResourceReader.hpp"

#include "ResFormat/ResFileReader.hpp"

#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <link.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace RS {

namespace {

constexpr std::string_view ResourceSectionName = ".apxres";

// ---- Which file the module was loaded from ----

struct ModuleFileSearch {
    std::uintptr_t base = 0;
    bool found = false;
    bool isMainProgram = false;
    std::string path;
};

// The lowest page the object maps: its load address, what Win32Compat hands out as its HINSTANCE.
std::uintptr_t LoadBase(const dl_phdr_info& info) {
    std::uintptr_t lowest = UINTPTR_MAX;
    for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info.dlpi_phdr[i];
        if (header.p_type == PT_LOAD) {
            const std::uintptr_t alignment = header.p_align > 0 ? header.p_align : 1;
            lowest = std::min(lowest, (info.dlpi_addr + header.p_vaddr) & ~(alignment - 1));
        }
    }
    return lowest;
}

int VisitLoadedObject(dl_phdr_info* info, std::size_t /*size*/, void* data) {
    auto* search = static_cast<ModuleFileSearch*>(data);
    const bool isMainProgram = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
    const bool matches = search->base == 0 ? isMainProgram : LoadBase(*info) == search->base;
    if (!matches) {
        return 0;
    }
    search->found = true;
    search->isMainProgram = isMainProgram;
    search->path = isMainProgram ? std::string() : std::string(info->dlpi_name);
    return 1;
}

std::optional<std::string> ModuleFilePath(HINSTANCE module) {
    ModuleFileSearch search;
    search.base = reinterpret_cast<std::uintptr_t>(module);
    dl_iterate_phdr(VisitLoadedObject, &search);
    if (!search.found) {
        return std::nullopt;
    }
    // The main program's entry has no name; the kernel knows its file.
    return search.isMainProgram ? std::string("/proc/self/exe") : search.path;
}

// ---- Reading one section out of an ELF file ----

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat status {};
        if (descriptor >= 0 && ::fstat(descriptor, &status) == 0 && status.st_size > 0) {
            size = static_cast<std::uint64_t>(status.st_size);
        }
    }
    ~OpenFile() {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool IsOpen() const { return descriptor >= 0; }

    // False unless all of [offset, offset + count) lies in the file and was read.
    bool ReadAt(std::uint64_t offset, std::uint64_t count, void* destination) const {
        if (offset > size || count > size - offset) {
            return false;
        }
        auto* bytes = static_cast<char*>(destination);
        while (count > 0) {
            const ssize_t read = ::pread(descriptor, bytes, count, static_cast<off_t>(offset));
            if (read <= 0) {
                return false;
            }
            bytes += read;
            offset += static_cast<std::uint64_t>(read);
            count -= static_cast<std::uint64_t>(read);
        }
        return true;
    }

    template <typename T>
    bool ReadVector(std::uint64_t offset, std::uint64_t count, std::vector<T>& out) const {
        if (count > size / sizeof(T)) {
            return false;
        }
        out.resize(static_cast<std::size_t>(count));
        return ReadAt(offset, count * sizeof(T), out.data());
    }

private:
    int descriptor;
    std::uint64_t size = 0;
};

bool IsNativeElf(const ElfW(Ehdr) & header) {
    constexpr unsigned char NativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == NativeClass &&
           header.e_ident[EI_DATA] == ELFDATA2LSB && header.e_shentsize == sizeof(ElfW(Shdr));
}

// Section headers, counting the escapes for many sections: a count of 0 and a name-table index of
// SHN_XINDEX put the real values in section header 0.
std::optional<std::vector<ElfW(Shdr)>> ReadSectionHeaders(const OpenFile& file, const ElfW(Ehdr) & header,
                                                          std::uint64_t& namesIndex) {
    if (header.e_shoff == 0) {
        return std::nullopt;
    }
    ElfW(Shdr) first{};
    if (!file.ReadAt(header.e_shoff, sizeof first, &first)) {
        return std::nullopt;
    }
    const std::uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
    namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
    std::vector<ElfW(Shdr)> sections;
    if (!file.ReadVector(header.e_shoff, count, sections) || namesIndex >= sections.size()) {
        return std::nullopt;
    }
    return sections;
}

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& path, std::string_view wanted) {
    const OpenFile file(path);
    ElfW(Ehdr) header{};
    if (!file.IsOpen() || !file.ReadAt(0, sizeof header, &header) || !IsNativeElf(header)) {
        return std::nullopt;
    }
    std::uint64_t namesIndex = 0;
    const auto sections = ReadSectionHeaders(file, header, namesIndex);
    std::vector<char> names;
    if (!sections ||
        !file.ReadVector((*sections)[namesIndex].sh_offset, (*sections)[namesIndex].sh_size, names)) {
        return std::nullopt;
    }
    for (const ElfW(Shdr) & section : *sections) {
        if (section.sh_name >= names.size() || section.sh_type == SHT_NOBITS) {
            continue;
        }
        const std::size_t nameStart = section.sh_name;
        const std::string_view name(names.data() + nameStart,
                                    ::strnlen(names.data() + nameStart, names.size() - nameStart));
        std::vector<std::uint8_t> bytes;
        if (name == wanted) {
            return file.ReadVector(section.sh_offset, section.sh_size, bytes)
                       ? std::optional(std::move(bytes))
                       : std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ResFormat::ResourceEntry>> ReadModuleResources(HINSTANCE module) {
    const std::optional<std::string> path = ModuleFilePath(module);
    if (!path) {
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> section = ReadElfSection(*path, ResourceSectionName);
    if (!section) {
        return std::nullopt;
    }
    ResFormat::ResFileContents contents = ResFormat::ReadResFile(*section);
    if (contents.problem) {
        return std::nullopt;
    }
    return std::move(contents.entries);
}

} // namespace RS
