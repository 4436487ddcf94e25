#include "HostTestSupport.hpp"
#include "Win32Api.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::u16string ModulePath(HMODULE module, DWORD size = MAX_PATH) {
    std::u16string buffer(size, u'\x1234');
    const DWORD copied = GetModuleFileNameW(module, buffer.data(), size);
    EXPECT_EQ(buffer[copied], u'\0');
    return buffer.substr(0, copied);
}

std::u16string Utf16(const std::string& utf8) {
    const GS::UniString text(utf8.c_str(), CC_UTF8);
    return std::u16string(text.ToUStr(), text.GetLength());
}

std::string ThisProgram() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path));
    return std::string(path, static_cast<std::size_t>(length > 0 ? length : 0));
}

int FunctionInThisProgram() {
    return 42;
}

} // namespace

TEST(GetModuleFileNameW, NamesTheLibraryThatHoldsAnAddress) {
    const HMODULE module =
        Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&RegisterWindowMessageW));
    ASSERT_NE(module, nullptr);
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&RegisterWindowMessageW), &info), 0);
    EXPECT_EQ(static_cast<void*>(module), info.dli_fbase);
    const std::u16string path = ModulePath(module);
    EXPECT_EQ(path, Utf16(std::filesystem::canonical(info.dli_fname).string()));
    EXPECT_EQ(path.substr(path.size() - 15), u"/Win32Compat.so");
}

TEST(GetModuleFileNameW, TheProgramItselfAndTheNullModuleAreTheExecutable) {
    const HMODULE program =
        Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&FunctionInThisProgram));
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(ModulePath(program), Utf16(ThisProgram()));
    EXPECT_EQ(ModulePath(nullptr), Utf16(ThisProgram()));
}

TEST(GetModuleFileNameW, NonAsciiPathsArriveAsUtf16) {
    // A second copy of the library, loaded from a folder whose name needs more than one UTF-16
    // unit per character.
    HostTestSupport::TempFolder folder;
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&RegisterWindowMessageW), &info), 0);
    const std::filesystem::path copyFolder = folder.Path() / "Mödüle ✓ \xF0\x9F\x98\x80 dir";
    std::filesystem::create_directories(copyFolder);
    const std::filesystem::path copy = copyFolder / "Win32Compat copy.so";
    std::filesystem::copy_file(info.dli_fname, copy);

    void* library = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    void* symbol = dlsym(library, "RegisterWindowMessageW");
    ASSERT_NE(symbol, nullptr);
    const HMODULE module = Win32Compat::ModuleFromAddress(symbol);
    EXPECT_NE(module, Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&RegisterWindowMessageW)));
    const std::u16string path = ModulePath(module);
    EXPECT_EQ(path, Utf16(copy.string()));
    EXPECT_NE(path.find(u"\xD83D\xDE00"), std::u16string::npos);
    dlclose(library);
}

TEST(GetModuleFileNameW, ALongPathIsCutAndStillTerminated) {
    const HMODULE module =
        Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&RegisterWindowMessageW));
    const std::u16string whole = ModulePath(module);
    ASSERT_GT(whole.size(), 5u);
    EXPECT_EQ(ModulePath(module, 5), whole.substr(0, 4));
    EXPECT_EQ(ModulePath(module, 1), u"");
    EXPECT_EQ(ModulePath(module, static_cast<DWORD>(whole.size())), whole.substr(0, whole.size() - 1));
    EXPECT_EQ(ModulePath(module, static_cast<DWORD>(whole.size() + 1)), whole);
}

TEST(GetModuleFileNameW, NothingIsWrittenWithoutRoomOrForAnUnknownModule) {
    char16_t untouched[4] = {u'x', u'x', u'x', u'x'};
    const HMODULE module =
        Win32Compat::ModuleFromAddress(reinterpret_cast<const void*>(&RegisterWindowMessageW));
    EXPECT_EQ(GetModuleFileNameW(module, untouched, 0), 0u);
    EXPECT_EQ(untouched[0], u'x');
    EXPECT_EQ(GetModuleFileNameW(module, nullptr, 10), 0u);

    int notAModule = 0;
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&notAModule), untouched, 4), 0u);
    EXPECT_EQ(untouched[0], u'\0');
    EXPECT_EQ(Win32Compat::ModuleFromAddress(nullptr), nullptr);
}
