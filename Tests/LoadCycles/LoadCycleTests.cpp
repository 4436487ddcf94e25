#include "ScenarioHarness.hpp"

#include <iostream>
#include <optional>

// hostsim loads the add-on, describes, registers and starts it, runs "VELD Engineer Export
// Settings..." (the dialog filled through the SAF add-on, then cancelled), releases and unloads it, a
// thousand times in one process.
namespace {

using Scenarios::HostSimRun;
using Scenarios::Json;

constexpr unsigned Cycles = 1000;
constexpr unsigned EarlyCycle = 10;
// Generous on purpose: a leak of even a few hundred bytes a cycle passes it after 990 cycles, a
// leaked string list or dialog per cycle does not.
constexpr long long AllowedGrowthBytes = 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer keeps freed blocks in its quarantine, so a sanitized hostsim grows without a
// leak; its own leak check and the module's block counts still apply.
constexpr bool ResidentBoundApplies = false;
#else
constexpr bool ResidentBoundApplies = true;
#endif

class LoadCycles : public Scenarios::ScenarioTest {
protected:
    // One thousand-cycle run serves every case: it is the expensive part.
    void SetUp() override {
        ScenarioTest::SetUp();
        if (!shared) {
            RegisterInstallation();
            shared = RunHostSim("menu 32500 2\nclick 2\nquit\n", {"--cycles", std::to_string(Cycles)});
        }
    }

    Json Cycle(unsigned number) const {
        for (const Json& cycle : shared->EventsNamed("cycle")) {
            if (cycle.at("cycle") == number) {
                return cycle;
            }
        }
        ADD_FAILURE() << "no cycle " << number;
        return Json::object();
    }

    static inline std::optional<HostSimRun> shared;
};

TEST_F(LoadCycles, EveryCycleRunsTheWholeLifecycleAndTheCommand) {
    ASSERT_EQ(shared->exitCode, 0) << shared->errors;
    EXPECT_EQ(shared->EventsNamed("cycle").size(), Cycles);
    EXPECT_EQ(shared->EventsWhere("module-load", "result", "loaded").size(), Cycles);
    for (const char* entry : {"describe", "register", "start", "release"}) {
        EXPECT_EQ(shared->EventsWhere("entry", "name", entry).size(), Cycles) << entry;
    }
    const std::vector<Json> menus = shared->EventsWhere("menu", "list", 32500);
    ASSERT_EQ(menus.size(), Cycles);
    for (const Json& menu : menus) {
        EXPECT_EQ(menu.value("result", -1), 0) << menu.dump();
    }
    EXPECT_EQ(shared->EventsWhere("dialog-close", "response", 2).size(), Cycles)
        << "the dialog cancelled each time";
    EXPECT_TRUE(shared->EventsNamed("launch").empty()) << "no process started";
    EXPECT_TRUE(shared->EventsNamed("lifecycle-violation").empty());
}

TEST_F(LoadCycles, TheModuleKeepsNoBlockAliveAfterAnyCommandOrUnload) {
    ASSERT_EQ(shared->exitCode, 0) << shared->errors;
    EXPECT_EQ(shared->EventsWhere("allocations", "after", "menu").size(), Cycles);
    EXPECT_GE(shared->EventsWhere("allocations", "after", "unload").size(), Cycles);
    for (const Json& count : shared->EventsNamed("allocations")) {
        EXPECT_EQ(count.value("liveBlocks", -1), 0) << count.dump();
    }
    for (const Json& unload : shared->EventsNamed("module-unload")) {
        EXPECT_EQ(unload.value("stillMapped", true), false) << unload.dump();
    }
    for (const Json& handles : shared->EventsNamed("saf-open-handles")) {
        EXPECT_EQ(handles.value("count", -1), 0) << handles.dump();
    }
}

TEST_F(LoadCycles, EveryUnloadDropsTheXmlSubsystemAndTheProcessStaysFlat) {
    ASSERT_EQ(shared->exitCode, 0) << shared->errors;
    for (const Json& cycle : shared->EventsNamed("cycle")) {
        EXPECT_EQ(cycle.value("xmlReferenceCount", -1), 0) << cycle.dump();
    }
    const Json early = Cycle(EarlyCycle);
    const Json last = Cycle(Cycles);
    const long long earlyResident = early.value("residentBytes", 0LL);
    const long long lastResident = last.value("residentBytes", 0LL);
    std::cout << "resident bytes at cycle " << EarlyCycle << ": " << earlyResident << ", at cycle " << Cycles
              << ": " << lastResident << "; host blocks " << early.value("hostLiveBlocks", 0LL) << " -> "
              << last.value("hostLiveBlocks", 0LL) << ", host bytes " << early.value("hostLiveBytes", 0LL)
              << " -> " << last.value("hostLiveBytes", 0LL) << '\n';
    EXPECT_GT(earlyResident, 0);
    if (ResidentBoundApplies) {
        EXPECT_LT(lastResident - earlyResident, AllowedGrowthBytes);
    }
    EXPECT_LT(last.value("hostLiveBytes", 0LL) - early.value("hostLiveBytes", 0LL), AllowedGrowthBytes);
}

} // namespace

namespace {

class CycleOption : public Scenarios::ScenarioTest {};

TEST_F(CycleOption, ZeroOrNonNumericCyclesAreAWrongCommandLine) {
    for (const char* given : {"0", "many", "-3"}) {
        const Scenarios::HostSimRun refused = RunHostSim("quit\n", {"--cycles", given});
        EXPECT_EQ(refused.exitCode, 64) << given;
        EXPECT_NE(refused.errors.find("--cycles"), std::string::npos) << refused.errors;
    }
}

TEST_F(CycleOption, ASingleRunWritesNoCycleEvent) {
    const Scenarios::HostSimRun single = RunHostSim("quit\n", {"--cycles", "1"});
    EXPECT_EQ(single.exitCode, 0) << single.errors;
    EXPECT_TRUE(single.EventsNamed("cycle").empty());
    EXPECT_EQ(single.EventsWhere("module-load", "result", "loaded").size(), 1u);
}

} // namespace
