#include "ModuleResourceReader.hpp"

#include "ResFormat/ResFileLayout.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <link.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/mman.h>
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

// ---- Finding one section in an ELF file ----

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
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
    int Descriptor() const { return descriptor; }
    std::uint64_t Size() const { return size; }
    const struct stat& Status() const { return status; }

    // False unless all of [offset, offset + count) lies in the file and was read.
    bool ReadAt(std::uint64_t offset, std::uint64_t count, void* destination) const {
        if (!Holds(offset, count)) {
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

    // `count` items of plain data; left uninitialised until read, since clearing them first would
    // only be overwritten.
    template <typename T>
    std::unique_ptr<T[]> ReadArray(std::uint64_t offset, std::uint64_t count) const {
        if (count == 0 || count > size / sizeof(T)) {
            return nullptr;
        }
        std::unique_ptr<T[]> items(new T[static_cast<std::size_t>(count)]);
        return ReadAt(offset, count * sizeof(T), items.get()) ? std::move(items) : nullptr;
    }

    bool Holds(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size && count <= size - offset;
    }

private:
    int descriptor;
    struct stat status {};
    std::uint64_t size = 0;
};

bool IsNativeElf(const ElfW(Ehdr) & header) {
    constexpr unsigned char NativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == NativeClass &&
           header.e_ident[EI_DATA] == ELFDATA2LSB && header.e_shentsize == sizeof(ElfW(Shdr));
}

struct FileRange {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// Where section `wanted` lies in the file; nothing when the file has no such section or claims one
// that runs past its end. Section counts past the escape for many sections are honoured: a count of
// 0 and a name-table index of SHN_XINDEX put the real values in section header 0.
std::optional<FileRange> FindElfSection(const OpenFile& file, std::string_view wanted) {
    ElfW(Ehdr) header{};
    if (!file.ReadAt(0, sizeof header, &header) || !IsNativeElf(header) || header.e_shoff == 0) {
        return std::nullopt;
    }
    ElfW(Shdr) first{};
    if (!file.ReadAt(header.e_shoff, sizeof first, &first)) {
        return std::nullopt;
    }
    const std::uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
    const std::uint64_t namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
    const std::unique_ptr<ElfW(Shdr)[]> sections = file.ReadArray<ElfW(Shdr)>(header.e_shoff, count);
    if (sections == nullptr || namesIndex >= count) {
        return std::nullopt;
    }
    const ElfW(Shdr)& namesSection = sections[static_cast<std::size_t>(namesIndex)];
    const std::unique_ptr<char[]> names = file.ReadArray<char>(namesSection.sh_offset, namesSection.sh_size);
    if (names == nullptr) {
        return std::nullopt;
    }
    const std::uint64_t namesSize = namesSection.sh_size;
    for (std::size_t i = 0; i < count; ++i) {
        const ElfW(Shdr)& section = sections[i];
        if (section.sh_name >= namesSize || section.sh_type == SHT_NOBITS) {
            continue;
        }
        const char* name = names.get() + section.sh_name;
        if (std::string_view(name, ::strnlen(name, namesSize - section.sh_name)) == wanted) {
            return file.Holds(section.sh_offset, section.sh_size)
                       ? std::optional(FileRange{section.sh_offset, section.sh_size})
                       : std::nullopt;
        }
    }
    return std::nullopt;
}

// ---- The section's bytes, mapped rather than read ----

// The pages are read when a lookup first touches them, and stay readable after the module itself
// is unloaded: the mapping is the resource module's own.
class SectionMapping {
public:
    SectionMapping(const OpenFile& file, FileRange range) {
        if (range.size == 0) {
            return;
        }
        const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
        const std::uint64_t mapStart = range.offset / pageSize * pageSize;
        length = static_cast<std::size_t>(range.offset - mapStart + range.size);
        void* mapped =
            ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.Descriptor(), static_cast<off_t>(mapStart));
        if (mapped == MAP_FAILED) {
            failed = true;
            return;
        }
        address = mapped;
        bytes = std::span(static_cast<const std::uint8_t*>(mapped) + (range.offset - mapStart),
                          static_cast<std::size_t>(range.size));
    }
    ~SectionMapping() {
        if (address != nullptr) {
            ::munmap(address, length);
        }
    }
    SectionMapping(const SectionMapping&) = delete;
    SectionMapping& operator=(const SectionMapping&) = delete;

    // False when a section with bytes could not be mapped.
    bool IsUsable() const { return !failed; }
    std::span<const std::uint8_t> Bytes() const { return bytes; }

private:
    void* address = nullptr;
    std::size_t length = 0;
    bool failed = false;
    std::span<const std::uint8_t> bytes;
};

// The file as it was when the section was found: another open of the same unchanged file reads
// the same bytes.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t size = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& status) {
    return FileIdentity{status.st_dev, status.st_ino, static_cast<std::int64_t>(status.st_mtim.tv_sec),
                        static_cast<std::int64_t>(status.st_mtim.tv_nsec),
                        static_cast<std::uint64_t>(status.st_size)};
}

class ElfSectionSource : public ModuleResourceSource {
public:
    ElfSectionSource(std::string filePath, FileIdentity identity)
        : path(std::move(filePath)), file(identity) {}

    bool IsSameImage(const ModuleResourceSource& other) const override {
        const auto* section = dynamic_cast<const ElfSectionSource*>(&other);
        return section != nullptr && section->file == file;
    }

    // The file is opened once more only to map the section: a file that changed since it was
    // identified is not the module's any more.
    bool Find() override {
        const OpenFile opened(path);
        if (!opened.IsOpen() || IdentityOf(opened.Status()) != file) {
            return false;
        }
        const std::optional<FileRange> section = FindElfSection(opened, ResourceSectionName);
        if (!section) {
            return false;
        }
        auto sectionMapping = std::make_shared<const SectionMapping>(opened, *section);
        if (!sectionMapping->IsUsable()) {
            return false;
        }
        mapping = std::move(sectionMapping);
        return true;
    }

    std::optional<ModuleResources> Read() const override {
        if (mapping == nullptr) {
            return std::nullopt;
        }
        ResFormat::ResFileIndex index = ResFormat::IndexResFile(mapping->Bytes());
        if (index.problem) {
            return std::nullopt;
        }
        ModuleResources read;
        read.storage = mapping;
        read.resources.reserve(index.entries.size());
        for (ResFormat::ResourceView& view : index.entries) {
            if (view.language == ResFormat::LanguageEnglishUS) {
                read.resources.push_back(
                    ModuleResource{std::move(view.type), std::move(view.name), view.data});
            }
        }
        return read;
    }

private:
    std::string path;
    FileIdentity file;
    std::shared_ptr<const SectionMapping> mapping;
};

} // namespace

std::unique_ptr<ModuleResourceSource> IdentifyModuleImage(HINSTANCE module) {
    std::optional<std::string> path = ModuleFilePath(module);
    struct stat status {};
    if (!path || ::stat(path->c_str(), &status) != 0) {
        return nullptr;
    }
    return std::make_unique<ElfSectionSource>(std::move(*path), IdentityOf(status));
}

} // namespace RS
