// The built module loaded by the system's loader: DllMain's load step runs once the module constants
// exist and its unload step before they are destroyed, on Windows (the C runtime's order) as on
// Linux (the module's own static object). Seen from the host's side: the call monitor catches the
// resource calls of DllMain while the module's constants hold their memory.

#include "AddOnInterface.hpp"
#include "HostObservers.hpp"
#include "MemoryManager.hpp"
#include "ModuleFile.hpp"
#include "XercescInitializer.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#ifndef ADDON_MODULE_PATH
#error "ADDON_MODULE_PATH names the built module"
#endif

namespace {

// What the module had built when DllMain opened and when it removed its resource module.
struct ModuleStateSeen {
    UInt64 liveBlocks = 0;
    Int32 xmlReferences = 0;
};

class ResourceCallWatch : public GS::CallMonitor {
public:
    explicit ResourceCallWatch(GS::MemoryOwner loadOwner) : owner(loadOwner) { GS::SetCallMonitor(this); }
    ~ResourceCallWatch() override { GS::SetCallMonitor(nullptr); }
    ResourceCallWatch(const ResourceCallWatch&) = delete;
    ResourceCallWatch& operator=(const ResourceCallWatch&) = delete;

    GSErrCode OnCall(const char* operation, const char* /*details*/) override {
        const ModuleStateSeen seen{GS::MemoryManager::GetLiveBlockCount(owner),
                                   GSXML::XercescInitializer::GetReferenceCount()};
        if (std::string(operation) == "RSInitModuleImageCache") {
            atOpen = seen;
        } else if (std::string(operation) == "RSRemoveModuleImageCache") {
            atRemove = seen;
        }
        return NoError;
    }

    std::optional<ModuleStateSeen> atOpen;
    std::optional<ModuleStateSeen> atRemove;

private:
    GS::MemoryOwner owner;
};

template <typename Proc>
Proc As(void* symbol) {
    Proc proc = nullptr;
    std::memcpy(&proc, &symbol, sizeof(proc));
    return proc;
}

// Binds the module to an empty table and starts it: the add-on keeps the token although its
// handler cannot be installed.
AddOnReleaseProc BindAndStart(const ModuleFile& module) {
    std::array<unsigned char, EntryPointRecordSize> record{};
    As<GetExportedFuncAddrsProc>(module.Find("GetExportedFuncAddrs"))(record.data());
    static const std::array<unsigned char, HostFunctionTableSize> emptyTable{};
    EXPECT_EQ(As<SetImportedFuncAddrsProc>(module.Find("SetImportedFuncAddrs"))(emptyTable.data()), 0);
    AddOnStartProc start = nullptr;
    AddOnReleaseProc release = nullptr;
    std::memcpy(&start, record.data() + 24, sizeof start);
    std::memcpy(&release, record.data() + 32, sizeof release);
    static_cast<void>(start(reinterpret_cast<AddOnToken>(std::uintptr_t{0x5EED})));
    return release;
}

// The three strings each hold one block; the XML initializer none of its own.
constexpr UInt64 ConstantStringBlocks = 3;

} // namespace

TEST(ModuleLoadOrder, DllMainOpensTheResourcesOnceTheConstantsExistAndRemovesThemBeforeTheyGo) {
    const GS::MemoryOwner loadOwner = GS::MemoryManager::RegisterOwner("module load order test");
    const Int32 xmlReferencesBefore = GSXML::XercescInitializer::GetReferenceCount();
    ResourceCallWatch watch(loadOwner);
    {
        const GS::MemoryOwnerScope loading(loadOwner);
        ModuleFile module(ADDON_MODULE_PATH);
        ASSERT_TRUE(module.IsLoaded()) << module.Error();
        module.Unload();
    }
    ASSERT_TRUE(watch.atOpen.has_value()) << "DllMain never opened the resource module";
    EXPECT_GE(watch.atOpen->liveBlocks, ConstantStringBlocks);
    EXPECT_EQ(watch.atOpen->xmlReferences, xmlReferencesBefore + 1);

    ASSERT_TRUE(watch.atRemove.has_value()) << "DllMain never removed the resource module";
    EXPECT_EQ(watch.atRemove->liveBlocks, watch.atOpen->liveBlocks) << "the constants are destroyed last";
    EXPECT_EQ(watch.atRemove->xmlReferences, xmlReferencesBefore + 1);
    EXPECT_EQ(GSXML::XercescInitializer::GetReferenceCount(), xmlReferencesBefore);
}

TEST(ModuleLoadOrder, UnloadingAStartedModuleWritesTheAbnormalTerminationLineOnce) {
    ModuleFile module(ADDON_MODULE_PATH);
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    static_cast<void>(BindAndStart(module));
    const std::string loadedFrom = module.SystemPath();

    DebugOutputCapture output;
    module.Unload();
    const std::vector<std::string> expected = {"Abnormal add-on termination (\"" + loadedFrom + "\")", "\n"};
    EXPECT_EQ(output.Pieces(), expected);
}

TEST(ModuleLoadOrder, UnloadingAReleasedModuleWritesNothing) {
    ModuleFile module(ADDON_MODULE_PATH);
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    EXPECT_EQ(BindAndStart(module)(), 0);

    DebugOutputCapture output;
    module.Unload();
    EXPECT_TRUE(output.Pieces().empty());
}
