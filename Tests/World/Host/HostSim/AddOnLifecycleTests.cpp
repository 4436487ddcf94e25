#include "Session/AddOnLifecycle.hpp"

#include <gtest/gtest.h>

using namespace HostSim;

namespace {

// Drives a lifecycle through the host's normal order up to (not including) `last`.
AddOnLifecycle BoundAndCalledUpTo(EntryPoint last) {
    AddOnLifecycle lifecycle;
    lifecycle.TableSet();
    for (EntryPoint entry :
         {EntryPoint::Describe, EntryPoint::Register, EntryPoint::Start, EntryPoint::Release}) {
        if (entry == last) {
            break;
        }
        EXPECT_EQ(lifecycle.EntryCalled(entry), "");
        EXPECT_EQ(lifecycle.EntryAnswered(entry, 0), "");
    }
    return lifecycle;
}

} // namespace

TEST(AddOnLifecycleTests, TheHostsOrderRunsWithoutFaults) {
    AddOnLifecycle lifecycle = BoundAndCalledUpTo(EntryPoint::Release);
    EXPECT_EQ(lifecycle.State(), LifecycleState::Started);
    EXPECT_EQ(lifecycle.EntryCalled(EntryPoint::Release), "");
    EXPECT_EQ(lifecycle.EntryAnswered(EntryPoint::Release, 0), "");
    EXPECT_EQ(lifecycle.State(), LifecycleState::Released);
    lifecycle.Unloaded();
    EXPECT_EQ(lifecycle.State(), LifecycleState::Unloaded);
}

TEST(AddOnLifecycleTests, BeforeTheTableOnlyTheAgreedAnswersAreInOrder) {
    AddOnLifecycle lifecycle;
    EXPECT_EQ(lifecycle.EntryCalled(EntryPoint::Describe), "");
    EXPECT_EQ(lifecycle.EntryAnswered(EntryPoint::Describe, 0), "");
    EXPECT_EQ(lifecycle.EntryCalled(EntryPoint::Start), "");
    EXPECT_EQ(lifecycle.EntryAnswered(EntryPoint::Start, GSErr::NotInitialised), "");
    EXPECT_EQ(lifecycle.State(), LifecycleState::Loaded);

    lifecycle.EntryCalled(EntryPoint::Describe);
    EXPECT_EQ(lifecycle.EntryAnswered(EntryPoint::Describe, 1),
              "describe answered 0x00000001 before the function table was set (expected 0x00000000)");
    lifecycle.EntryCalled(EntryPoint::Register);
    EXPECT_EQ(lifecycle.EntryAnswered(EntryPoint::Register, 0),
              "register answered 0x00000000 before the function table was set (expected 0x81060001)");
    EXPECT_EQ(lifecycle.State(), LifecycleState::Loaded);
}

TEST(AddOnLifecycleTests, AnEntryPointOutOfOrderIsAFault) {
    AddOnLifecycle lifecycle = BoundAndCalledUpTo(EntryPoint::Register);
    EXPECT_EQ(lifecycle.EntryCalled(EntryPoint::Start), "start called while the add-on is described");
}

TEST(AddOnLifecycleTests, MenuRegisterBelongsInsideRegister) {
    AddOnLifecycle lifecycle = BoundAndCalledUpTo(EntryPoint::Register);
    EXPECT_NE(lifecycle.CheckHostCall(TableOperation::MenuRegister), "");
    lifecycle.EntryCalled(EntryPoint::Register);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::MenuRegister), "");
    lifecycle.EntryAnswered(EntryPoint::Register, 0);
    lifecycle.EntryCalled(EntryPoint::Start);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::MenuRegister),
              "HostMenuRegister outside the add-on's register call (add-on registered)");
}

TEST(AddOnLifecycleTests, TokenOperationsNeedTheAddOnStarted) {
    AddOnLifecycle lifecycle = BoundAndCalledUpTo(EntryPoint::Start);
    lifecycle.EntryCalled(EntryPoint::Register);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::ObjectFind),
              "HostObjectFind while the add-on is registered: it holds no valid token");
    lifecycle = BoundAndCalledUpTo(EntryPoint::Start);
    lifecycle.EntryCalled(EntryPoint::Start);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::MenuHandlerInstall), "");
    lifecycle.EntryAnswered(EntryPoint::Start, 5); // a failed start still handed out the token
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::Environment), "");
    lifecycle.EntryCalled(EntryPoint::Release);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::ObjectRead), "");
    lifecycle.EntryAnswered(EntryPoint::Release, 0);
    EXPECT_EQ(lifecycle.CheckHostCall(TableOperation::ObjectRead),
              "HostObjectRead while the add-on is released: it holds no valid token");
}

TEST(AddOnLifecycleTests, MenuCommandsReachOnlyAStartedAddOnBetweenEntryCalls) {
    AddOnLifecycle lifecycle = BoundAndCalledUpTo(EntryPoint::Start);
    EXPECT_EQ(lifecycle.CheckMenuCommand(), "menu command for an add-on that is registered");
    lifecycle.EntryCalled(EntryPoint::Start);
    lifecycle.EntryAnswered(EntryPoint::Start, 0);
    EXPECT_EQ(lifecycle.CheckMenuCommand(), "");
    lifecycle.EntryCalled(EntryPoint::Release);
    lifecycle.EntryAnswered(EntryPoint::Release, 0);
    EXPECT_EQ(lifecycle.CheckMenuCommand(), "menu command for an add-on that is released");
}
