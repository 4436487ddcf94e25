// The built module as the host meets it: its file, its exports, and its behaviour once loaded.

#include "AddOnInterface.hpp"
#include "ElfFile.hpp"
#include "HostObservers.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#ifndef ADDON_MODULE_PATH
#error "ADDON_MODULE_PATH names the built module"
#endif

namespace {
const std::string ModulePath = ADDON_MODULE_PATH;

// The module loaded as the host loads it, and unloaded at the end of the scope unless a test did.
class LoadedModule {
public:
    LoadedModule() : handle(dlopen(ModulePath.c_str(), RTLD_NOW | RTLD_GLOBAL)) {}
    ~LoadedModule() { Unload(); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* Handle() const { return handle; }
    void* Find(const char* name) const { return dlsym(handle, name); }
    void Unload() {
        if (handle != nullptr) {
            dlclose(handle);
            handle = nullptr;
        }
    }
    // The load address of the file that holds `address`.
    static const void* FileBase(const void* address) {
        Dl_info info{};
        return dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
    }

private:
    void* handle;
};

template <typename Proc>
Proc As(void* symbol) {
    Proc proc = nullptr;
    std::memcpy(&proc, &symbol, sizeof(proc));
    return proc;
}

struct EntryPoints {
    AddOnDescribeProc describe = nullptr;
    AddOnStartProc start = nullptr;
    AddOnReleaseProc release = nullptr;
};

EntryPoints BindWithEmptyTable(const LoadedModule& module) {
    std::array<unsigned char, EntryPointRecordSize> record{};
    As<GetExportedFuncAddrsProc>(module.Find("GetExportedFuncAddrs"))(record.data());
    static const std::array<unsigned char, HostFunctionTableSize> emptyTable{};
    EXPECT_EQ(As<SetImportedFuncAddrsProc>(module.Find("SetImportedFuncAddrs"))(emptyTable.data()), 0);
    EntryPoints entryPoints;
    std::memcpy(&entryPoints.describe, record.data() + 8, 8);
    std::memcpy(&entryPoints.start, record.data() + 24, 8);
    std::memcpy(&entryPoints.release, record.data() + 32, 8);
    return entryPoints;
}
} // namespace

TEST(ModuleFile, IsNamedAsTheHostLooksForIt) {
    EXPECT_EQ(std::filesystem::path(ModulePath).filename(), "VELDEngineerConnection.apx");
}

TEST(ModuleFile, DefinesExactlyTheTwoEntryFunctionsInItsDynamicSymbolTable) {
    const std::set<std::string> expected = {"GetExportedFuncAddrs", "SetImportedFuncAddrs"};
    EXPECT_EQ(DefinedDynamicSymbols(ModulePath), expected);
}

TEST(LoadedModule, OffersBothEntryFunctionsByNameAndHidesEverythingElse) {
    LoadedModule module;
    ASSERT_NE(module.Handle(), nullptr) << dlerror();
    EXPECT_NE(module.Find("GetExportedFuncAddrs"), nullptr);
    EXPECT_NE(module.Find("SetImportedFuncAddrs"), nullptr);
    EXPECT_EQ(module.Find("DllMain"), nullptr);
    EXPECT_EQ(module.Find("MenuCommandHandler"), nullptr);
}

TEST(LoadedModule, ItsGlobalOperatorNewDoesNotInterposeOnTheProcess) {
    LoadedModule module;
    ASSERT_NE(module.Handle(), nullptr) << dlerror();
    const void* moduleBase = LoadedModule::FileBase(module.Find("GetExportedFuncAddrs"));
    ASSERT_NE(moduleBase, nullptr);
    // Looked up through the module, a name resolves in the module first and only then in the libraries
    // it needs; an allocation function the module exported would be found here.
    for (const char* name : {"_Znwm", "_ZdlPv", "_Znam", "_ZdaPv", "_ZnwmSt11align_val_t"}) {
        SCOPED_TRACE(name);
        const void* found = module.Find(name);
        ASSERT_NE(found, nullptr);
        EXPECT_NE(LoadedModule::FileBase(found), moduleBase);
        EXPECT_NE(LoadedModule::FileBase(dlsym(RTLD_DEFAULT, name)), moduleBase);
    }
}

TEST(LoadedModule, DescribesItselfFromItsOwnResources) {
    LoadedModule module;
    ASSERT_NE(module.Handle(), nullptr) << dlerror();
    const EntryPoints entryPoints = BindWithEmptyTable(module);

    AddOnDescriptionRecord description{};
    EXPECT_EQ(entryPoints.describe(&description), 1);
    EXPECT_STREQ(description.name.ToUTF8().Get(), "VELD Engineer In-Out: Export/Import add-on");
    EXPECT_STREQ(description.description.ToUTF8().Get(), "VELD Engineer In-Out: Export/Import add-on");
}

TEST(LoadedModule, UnloadedWhileStartedItReportsAbnormalTermination) {
    LoadedModule module;
    ASSERT_NE(module.Handle(), nullptr) << dlerror();
    const EntryPoints entryPoints = BindWithEmptyTable(module);
    // The empty table has no handler slot; the token is kept all the same.
    EXPECT_EQ(entryPoints.start(reinterpret_cast<AddOnToken>(std::uintptr_t{0x5EED})),
              static_cast<GSErrCode>(0x81060387u));

    DebugOutputCapture output;
    module.Unload();
    const std::vector<std::string> expected = {"Abnormal add-on termination (\"" + ModulePath + "\")", "\n"};
    EXPECT_EQ(output.Pieces(), expected);
}

TEST(LoadedModule, UnloadedAfterReleaseItWritesNothing) {
    LoadedModule module;
    ASSERT_NE(module.Handle(), nullptr) << dlerror();
    const EntryPoints entryPoints = BindWithEmptyTable(module);
    static_cast<void>(entryPoints.start(reinterpret_cast<AddOnToken>(std::uintptr_t{0x5EED})));
    EXPECT_EQ(entryPoints.release(), 0);

    DebugOutputCapture output;
    module.Unload();
    EXPECT_TRUE(output.Pieces().empty());
}
