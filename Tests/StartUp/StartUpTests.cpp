// The start-up code that every Windows module of ours carries (cmake/MsvcAbi/crt), tested where it
// runs: in DLLs loaded at run time beside one another, in fresh processes, and in the loader's view
// of the add-on module itself.
#include "StartUpProbe.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The documented x64 default value, which nothing may leave in place.
constexpr std::uintptr_t DefaultCookie = 0x00002B992DDFA232ull;
constexpr DWORD StackBufferOverrun = 0xC0000409u;

std::mutex eventsMutex;
std::vector<std::string> events;

void RecordEvent(const char* event) {
    const std::lock_guard lock(eventsMutex);
    events.emplace_back(event);
}

std::vector<std::string> TakeEvents() {
    const std::lock_guard lock(eventsMutex);
    return std::exchange(events, {});
}

// One probe DLL, loaded for the scope unless a test unloads it.
class Probe {
public:
    explicit Probe(const char* path)
        : module(::LoadLibraryW(std::filesystem::path(path).wstring().c_str())) {}
    ~Probe() { Unload(); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool IsLoaded() const { return module != nullptr; }
    HMODULE Module() const { return module; }
    template <typename Proc>
    Proc Find(const char* name) const {
        // A function pointer of no particular type, as the loader hands it out.
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    }
    void Unload() {
        if (module != nullptr) {
            ::FreeLibrary(module);
            module = nullptr;
        }
    }

private:
    HMODULE module;
};

struct ChildRun {
    DWORD exitCode = 0;
    std::string output;
};

// Runs StartUpChild.exe with `arguments` and waits for it, its standard output captured.
ChildRun RunChild(const std::string& arguments) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    EXPECT_TRUE(::CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = L"\"" + std::filesystem::path(START_UP_CHILD_PATH).wstring() + L"\" " +
                               std::filesystem::path(arguments).wstring();
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    ChildRun run;
    if (!started) {
        ::CloseHandle(readEnd);
        ADD_FAILURE() << "CreateProcessW failed with error " << ::GetLastError();
        return run;
    }
    char chunk[256];
    DWORD got = 0;
    while (::ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        run.output.append(chunk, got);
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(readEnd);
    return run;
}

} // namespace

// (a) Many threads reach one function-local static at once: one builds it, the others wait for it.
TEST(StartUpThreadSafeStatics, ManyThreadsEnteringOneStaticSeeItBuiltOnceAndFinished) {
    Probe probe(START_UP_PROBE_FIRST_PATH);
    ASSERT_TRUE(probe.IsLoaded());
    const auto slowStatic = probe.Find<ProbeSlowStaticProc>("ProbeSlowStatic");
    constexpr std::size_t ThreadCount = 8;
    std::atomic<bool> go{false};
    std::vector<const void*> addresses(ThreadCount);
    std::vector<int> values(ThreadCount, -1);
    std::vector<std::thread> threads;
    for (std::size_t thread = 0; thread < ThreadCount; ++thread) {
        threads.emplace_back([&, thread] {
            while (!go.load()) {
                std::this_thread::yield();
            }
            addresses[thread] = slowStatic(&values[thread]);
        });
    }
    go = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(probe.Find<ProbeSlowStaticConstructionsProc>("ProbeSlowStaticConstructions")(), 1);
    for (std::size_t thread = 0; thread < ThreadCount; ++thread) {
        EXPECT_EQ(addresses[thread], addresses[0]) << "thread " << thread;
        EXPECT_EQ(values[thread], 7) << "thread " << thread << " saw the static before it was finished";
    }
}

// (b) Two modules on one runtime: unloading one runs its static destructors and atexit entries then,
// in reverse order of registration, and leaves the other's alone.
TEST(StartUpModuleUnload, UnloadingOneModuleEndsItsStaticsAndAtexitEntriesOnly) {
    TakeEvents();
    Probe first(START_UP_PROBE_FIRST_PATH);
    Probe second(START_UP_PROBE_SECOND_PATH);
    ASSERT_TRUE(first.IsLoaded());
    ASSERT_TRUE(second.IsLoaded());
    first.Find<ProbeSetRecorderProc>("ProbeSetRecorder")(&RecordEvent);
    second.Find<ProbeSetRecorderProc>("ProbeSetRecorder")(&RecordEvent);
    const auto secondAnswer = second.Find<ProbeAnswerProc>("ProbeAnswer");

    first.Unload();
    // The witness registered its atexit entry while it was being built, before its destructor was
    // registered at the end of its construction: the destructor runs first, as C++ orders them.
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"first: static destroyed", "first: atexit"}));
    EXPECT_EQ(secondAnswer(), 42);

    second.Unload();
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"second: static destroyed", "second: atexit"}));
}

// (c) The cookie is random before the first protected function returns, and differs between processes.
TEST(StartUpSecurityCookie, EachProcessHasItsOwnCookieSetBeforeTheFirstProtectedFunction) {
    std::vector<std::string> cookies;
    for (int run = 0; run < 2; ++run) {
        const ChildRun child = RunChild(std::string("cookie ") + START_UP_PROBE_FIRST_PATH);
        ASSERT_EQ(child.exitCode, 0u) << child.output;
        std::istringstream fields(child.output);
        std::string probeCookie;
        std::string programCookie;
        fields >> probeCookie >> programCookie;
        for (const std::string& cookie : {probeCookie, programCookie}) {
            const std::uintptr_t value = std::stoull(cookie, nullptr, 16);
            EXPECT_NE(value, DefaultCookie) << child.output;
            EXPECT_NE(value, 0u) << child.output;
        }
        cookies.push_back(probeCookie);
    }
    EXPECT_NE(cookies[0], cookies[1]);
}

// (d) A broken cookie ends the process at once, with the fail-fast code, instead of returning.
TEST(StartUpSecurityCookie, AnOverrunProtectedBufferEndsTheProcessWithTheFailFastCode) {
    const ChildRun child = RunChild("overflow 24");
    EXPECT_EQ(child.exitCode, StackBufferOverrun) << std::hex << child.exitCode << ": " << child.output;
    EXPECT_EQ(child.output.find("returned"), std::string::npos) << child.output;
    // The same program with a buffer-sized write returns normally: the end above is the overrun's.
    EXPECT_EQ(RunChild("overflow 16").exitCode, 0u);
}

namespace {

// The 64-bit load configuration directory's fields that the loader reads, by their documented offsets.
struct LoadConfiguration {
    std::uint32_t size = 0;
    ULONGLONG securityCookie = 0;     // offset 88: the cookie the loader randomises
    ULONGLONG guardDispatch = 0;      // offset 120: the Control Flow Guard dispatch pointer
    ULONGLONG guardFunctionTable = 0; // offset 128
    ULONGLONG guardFunctionCount = 0; // offset 136
    DWORD guardFlags = 0;             // offset 144
};

constexpr DWORD GuardInstrumented = 0x100;
constexpr DWORD GuardFunctionTablePresent = 0x400;
constexpr DWORD GuardTableEntrySizeMask = 0xF0000000u;

template <typename T>
T ReadAt(const unsigned char* address) {
    T value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

// The load configuration of a module as it lies in memory, through its headers' data directory, as
// the loader finds it; absent when the module names none.
std::optional<LoadConfiguration> LoadConfigurationOf(HMODULE module) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
    if (entry.VirtualAddress == 0 || entry.Size == 0) {
        return std::nullopt;
    }
    const unsigned char* config = base + entry.VirtualAddress;
    LoadConfiguration read;
    read.size = ReadAt<std::uint32_t>(config);
    if (read.size < 148) {
        return read;
    }
    read.securityCookie = ReadAt<ULONGLONG>(config + 88);
    read.guardDispatch = ReadAt<ULONGLONG>(config + 120);
    read.guardFunctionTable = ReadAt<ULONGLONG>(config + 128);
    read.guardFunctionCount = ReadAt<ULONGLONG>(config + 136);
    read.guardFlags = ReadAt<DWORD>(config + 144);
    return read;
}

// True when the module's table of valid indirect-call targets holds `function`.
bool GuardTableHolds(HMODULE module, const LoadConfiguration& config, const void* function) {
    const DWORD rva = static_cast<DWORD>(reinterpret_cast<const unsigned char*>(function) -
                                         reinterpret_cast<const unsigned char*>(module));
    // Each entry is a 4-byte address, followed by as many bytes of flags as the guard flags say.
    const std::size_t entrySize = 4 + ((config.guardFlags & GuardTableEntrySizeMask) >> 28);
    const auto* table = reinterpret_cast<const unsigned char*>(config.guardFunctionTable);
    for (ULONGLONG index = 0; index < config.guardFunctionCount; ++index) {
        if (ReadAt<DWORD>(table + index * entrySize) == rva) {
            return true;
        }
    }
    return false;
}

void ExpectGuardedLoadConfiguration(HMODULE module, const LoadConfiguration& config, const void* exported) {
    EXPECT_GE(config.size, 148u);
    EXPECT_EQ(config.guardFlags & GuardInstrumented, GuardInstrumented);
    EXPECT_EQ(config.guardFlags & GuardFunctionTablePresent, GuardFunctionTablePresent);
    EXPECT_NE(config.guardDispatch, 0u);
    ASSERT_NE(config.guardFunctionTable, 0u);
    EXPECT_GT(config.guardFunctionCount, 0u);
    // An exported function may be called through a pointer: it must be a valid target.
    EXPECT_TRUE(GuardTableHolds(module, config, exported));
    // The cookie the directory names is live: the loader or the start-up replaced the default.
    ASSERT_NE(config.securityCookie, 0u);
    EXPECT_NE(*reinterpret_cast<const std::uintptr_t*>(config.securityCookie), DefaultCookie);
}

} // namespace

// (e) The loader finds the cookie and the Control Flow Guard tables through the load configuration.
TEST(StartUpLoadConfiguration, TheProbeNamesItsOwnCookieAndGuardDispatchPointer) {
    Probe probe(START_UP_PROBE_FIRST_PATH);
    ASSERT_TRUE(probe.IsLoaded());
    const std::optional<LoadConfiguration> config = LoadConfigurationOf(probe.Module());
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->securityCookie,
              reinterpret_cast<ULONGLONG>(probe.Find<ProbeAddressProc>("ProbeCookieAddress")()));
    EXPECT_EQ(config->guardDispatch,
              reinterpret_cast<ULONGLONG>(probe.Find<ProbeAddressProc>("ProbeGuardDispatchAddress")()));
    ExpectGuardedLoadConfiguration(probe.Module(), *config,
                                   reinterpret_cast<const void*>(probe.Find<ProbeAnswerProc>("ProbeAnswer")));
}

TEST(StartUpLoadConfiguration, TheAddOnModuleCarriesAGuardedLoadConfiguration) {
    Probe addOn(ADDON_MODULE_PATH);
    ASSERT_TRUE(addOn.IsLoaded());
    const std::optional<LoadConfiguration> config = LoadConfigurationOf(addOn.Module());
    ASSERT_TRUE(config.has_value());
    ExpectGuardedLoadConfiguration(
        addOn.Module(), *config,
        reinterpret_cast<const void*>(addOn.Find<void (*)()>("GetExportedFuncAddrs")));
}
