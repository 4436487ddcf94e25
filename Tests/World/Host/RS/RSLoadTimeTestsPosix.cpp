#include "RSTestModules.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace {

using RSTest::Text;

using SelfOpenedProc = GSResModule (*)();

// The self-opening module, loaded from `path` as the host loads an add-on.
class LoadedSelfOpeningModule {
public:
    explicit LoadedSelfOpeningModule(const std::string& path = SELF_OPENING_MODULE_PATH)
        : handle(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedSelfOpeningModule() { Unload(); }
    LoadedSelfOpeningModule(const LoadedSelfOpeningModule&) = delete;
    LoadedSelfOpeningModule& operator=(const LoadedSelfOpeningModule&) = delete;

    bool IsLoaded() const { return handle != nullptr; }
    SelfOpenedProc Opened() const {
        return reinterpret_cast<SelfOpenedProc>(::dlsym(handle, "SelfOpenedResourceModule"));
    }
    HINSTANCE Instance() const { return RSTest::ModuleOf(Opened()); }
    int Unload() {
        const int result = handle != nullptr ? ::dlclose(handle) : 0;
        handle = nullptr;
        return result;
    }

private:
    void* handle;
};

TEST(RSModuleLoading, ModuleOpensItsResourcesWhileLoadingAndRemovesThemAtUnload) {
    LoadedSelfOpeningModule loaded;
    ASSERT_TRUE(loaded.IsLoaded()) << ::dlerror();
    ASSERT_NE(loaded.Opened(), nullptr);
    const GSResModule module = loaded.Opened()();
    ASSERT_GE(module, 1);
    EXPECT_EQ(Text(module, 32300, 8), "Select translator");
    EXPECT_EQ(Text(module, 32600, 2), "Open in VELD Engineer...");

    ASSERT_EQ(loaded.Unload(), 0);
    EXPECT_EQ(Text(module, 32300, 8), "");
}

TEST(RSModuleLoading, ModuleLoadedAgainInOneProcessOpensAndReadsItsResourcesAgain) {
    GSResModule previous = InvalidResModule;
    for (int round = 0; round < 3; ++round) {
        LoadedSelfOpeningModule loaded;
        ASSERT_TRUE(loaded.IsLoaded()) << ::dlerror();
        const GSResModule module = loaded.Opened()();
        EXPECT_GT(module, previous);
        EXPECT_EQ(Text(module, 32000, 1), "VELD Engineer In-Out: Export/Import add-on");
        EXPECT_EQ(Text(previous, 32000, 1), "");
        previous = module;
    }
}

// The host opens its own resource module on an add-on and may look in it after the add-on is gone:
// what was never read before the unload is still there to read.
TEST(RSModuleLoading, ResourcesFirstReadAfterTheModuleIsUnloadedAreStillItsOwn) {
    LoadedSelfOpeningModule loaded;
    ASSERT_TRUE(loaded.IsLoaded()) << ::dlerror();
    const GSResModule hostModule = RSInitModuleImageCache(loaded.Instance());
    ASSERT_GE(hostModule, 1);
    ASSERT_EQ(loaded.Unload(), 0);

    EXPECT_EQ(Text(hostModule, 32300, 8), "Select translator");
    RSRemoveModuleImageCache(hostModule);
}

// A copy of the self-opening module whose resource section claims to run past the end of the file:
// the loader does not look at sections, so the copy loads, and its resources must be refused at
// opening rather than fault at the first lookup.
std::filesystem::path CopyWithSectionPastEndOfFile(const std::filesystem::path& folder) {
    std::ifstream in(SELF_OPENING_MODULE_PATH, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Elf64_Ehdr header{};
    std::memcpy(&header, bytes.data(), sizeof header);
    Elf64_Shdr names{};
    std::memcpy(&names, bytes.data() + header.e_shoff + header.e_shstrndx * sizeof(Elf64_Shdr), sizeof names);
    bool patched = false;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const std::size_t at = header.e_shoff + i * sizeof(Elf64_Shdr);
        Elf64_Shdr section{};
        std::memcpy(&section, bytes.data() + at, sizeof section);
        if (std::string_view(bytes.data() + names.sh_offset + section.sh_name) == ".apxres") {
            section.sh_size = bytes.size();
            std::memcpy(bytes.data() + at, &section, sizeof section);
            patched = true;
        }
    }
    EXPECT_TRUE(patched);
    const std::filesystem::path copy = folder / "SectionPastEndOfFile.so";
    std::ofstream(copy, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return copy;
}

TEST(RSModuleLoading, SectionRunningPastTheEndOfTheFileIsRefusedAtOpening) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("rs-tests-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = CopyWithSectionPastEndOfFile(folder);
    {
        LoadedSelfOpeningModule loaded(copy.string());
        ASSERT_TRUE(loaded.IsLoaded()) << ::dlerror();
        EXPECT_EQ(loaded.Opened()(), InvalidResModule);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
