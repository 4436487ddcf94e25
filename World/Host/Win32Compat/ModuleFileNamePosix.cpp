#include "Win32Compat.hpp"

#include "TextEncoding.hpp"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <unistd.h>

namespace {

struct ModuleSearch {
    std::uintptr_t base;
    bool found;
    bool isMainProgram;
    std::string name;
};

// The lowest address that the object maps: what dladdr reports as its base (dli_fbase).
std::uintptr_t LoadBase(const dl_phdr_info& info) {
    std::uintptr_t lowest = UINTPTR_MAX;
    for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info.dlpi_phdr[i];
        if (header.p_type == PT_LOAD) {
            const std::uintptr_t start = info.dlpi_addr + header.p_vaddr;
            const std::uintptr_t pageStart =
                start & ~(static_cast<std::uintptr_t>(header.p_align > 0 ? header.p_align : 1) - 1);
            if (pageStart < lowest) {
                lowest = pageStart;
            }
        }
    }
    return lowest;
}

int VisitObject(dl_phdr_info* info, std::size_t /*size*/, void* data) {
    auto* search = static_cast<ModuleSearch*>(data);
    if (LoadBase(*info) != search->base) {
        return 0;
    }
    search->found = true;
    search->isMainProgram = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
    search->name = search->isMainProgram ? std::string() : std::string(info->dlpi_name);
    return 1;
}

std::string MainProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Windows reports full paths; a library opened by a relative name gets its absolute form.
std::string Absolute(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string PathOfModule(HMODULE module) {
    if (module == nullptr) {
        return MainProgramPath();
    }
    ModuleSearch search{reinterpret_cast<std::uintptr_t>(module), false, false, {}};
    dl_iterate_phdr(VisitObject, &search);
    if (!search.found) {
        return {};
    }
    return search.isMainProgram ? MainProgramPath() : Absolute(search.name);
}

} // namespace

extern "C" DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    if (fileName == nullptr || size == 0) {
        return 0;
    }
    const std::string path = PathOfModule(module);
    if (path.empty()) {
        fileName[0] = u'\0';
        return 0;
    }
    const std::u16string wide = GS::TextEncoding::Decode(path.data(), path.size(), CC_UTF8);
    const std::size_t copied = wide.size() < size ? wide.size() : size - 1;
    std::memcpy(fileName, wide.data(), copied * sizeof(WCHAR));
    fileName[copied] = u'\0';
    return static_cast<DWORD>(copied);
}

namespace Win32Compat {

HMODULE ModuleFromAddress(const void* address) {
    Dl_info info{};
    if (address == nullptr || ::dladdr(address, &info) == 0) {
        return nullptr;
    }
    return static_cast<HMODULE>(info.dli_fbase);
}

} // namespace Win32Compat
