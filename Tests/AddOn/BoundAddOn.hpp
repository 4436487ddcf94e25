#pragma once

#include "AddOnMain.hpp"
#include "FakeHost.hpp"
#include "HostServices.hpp"
#include "RegistrySandbox.hpp"

#include <gtest/gtest.h>

#include <cstdint>

// The add-on after the host handed over the fake table, in a registry of the test's own without any
// installation. Each test ends released, as a host would leave it.
class BoundAddOn : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SetImportedFuncAddrs(host.Table()), 0); }
    void TearDown() override { static_cast<void>(AddOnRelease()); }

    // The fake table is copied at binding: a changed slot counts only after binding again.
    void EmptySlotAndRebind(std::size_t offset) {
        host.EmptySlot(offset);
        ASSERT_EQ(SetImportedFuncAddrs(host.Table()), 0);
    }

    static AddOnToken HostToken() { return reinterpret_cast<AddOnToken>(std::uintptr_t{0x70CE7}); }

    RegistrySandbox registry;
    FakeHost host;
};
