#include "Record/HostShares.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace HostSim;

namespace {

struct ShareCase {
    std::string name;
    std::function<void(HostShareLedger&)> measured;
    HostShares expected;
    Nanoseconds total; // of the add-on's call around it
    Nanoseconds addOnOwn;
};

} // namespace

// What the host did for the add-on is counted once, however its parts nest: a launch or a wait inside
// a service is already in the service's time, and an inner service in the outer one's.
TEST(HostShareLedger, EachNanosecondOfTheHostsWorkCountsOnceAgainstTheAddOn) {
    const std::vector<ShareCase> cases = {
        {"nothing but the add-on", [](HostShareLedger&) {}, {}, 100, 100},
        {"a service, then a launch and a wait outside it",
         [](HostShareLedger& ledger) {
             ledger.ServiceEntered();
             ledger.ServiceLeft(20);
             ledger.AddLauncher(5);
             ledger.AddUiWait(7);
         },
         {.launcher = 5, .uiWait = 7, .services = 20, .forAddOn = 32},
         100,
         68},
        {"'SAVE' is a service: its time is in the services' already",
         [](HostShareLedger& ledger) {
             ledger.ServiceEntered();
             ledger.AddSave(15);
             ledger.ServiceLeft(18);
         },
         {.save = 15, .services = 18, .forAddOn = 18},
         50,
         32},
        {"a launch and a wait inside a service",
         [](HostShareLedger& ledger) {
             ledger.ServiceEntered();
             ledger.AddLauncher(4);
             ledger.AddUiWait(6);
             ledger.ServiceLeft(30);
         },
         {.launcher = 4, .uiWait = 6, .services = 30, .forAddOn = 30},
         40,
         10},
        {"a service inside a service: the outer one's time only",
         [](HostShareLedger& ledger) {
             ledger.ServiceEntered();
             ledger.ServiceEntered();
             ledger.ServiceLeft(8);
             ledger.ServiceLeft(12);
         },
         {.services = 12, .forAddOn = 12},
         20,
         8},
        {"a stray leave outside any service counts nothing",
         [](HostShareLedger& ledger) {
             ledger.ServiceLeft(9);
             ledger.AddUiWait(2);
         },
         {.uiWait = 2, .forAddOn = 2},
         10,
         8},
    };
    for (const ShareCase& shareCase : cases) {
        SCOPED_TRACE(shareCase.name);
        HostShareLedger ledger;
        shareCase.measured(ledger);
        const HostShares shares = ledger.Take();
        EXPECT_EQ(shares.save, shareCase.expected.save);
        EXPECT_EQ(shares.launcher, shareCase.expected.launcher);
        EXPECT_EQ(shares.uiWait, shareCase.expected.uiWait);
        EXPECT_EQ(shares.services, shareCase.expected.services);
        EXPECT_EQ(shares.forAddOn, shareCase.expected.forAddOn);
        EXPECT_EQ(AddOnShare(shareCase.total, shares), shareCase.addOnOwn);
    }
}

TEST(HostShareLedger, TakingStartsTheCountAgainButNotTheServiceUnderWay) {
    HostShareLedger ledger;
    ledger.AddUiWait(3);
    ledger.ServiceEntered();
    EXPECT_EQ(ledger.Take().forAddOn, 3);
    // The service began before the take and ends after it: its whole time belongs to the next count.
    ledger.AddLauncher(4);
    ledger.ServiceLeft(11);
    const HostShares next = ledger.Take();
    EXPECT_EQ(next.services, 11);
    EXPECT_EQ(next.launcher, 4);
    EXPECT_EQ(next.forAddOn, 11);
    EXPECT_FALSE(ledger.InService());
    EXPECT_EQ(ledger.Take().forAddOn, 0);
}
