// A module that the host loaded but never handed its function table: this process never calls
// SetImportedFuncAddrs.

#include "AddOnMain.hpp"
#include "EntryPointRecordCheck.hpp"
#include "HostServices.hpp"

#include <gtest/gtest.h>

namespace {
AddOnToken SomeToken() {
    return reinterpret_cast<AddOnToken>(std::uintptr_t{0x7A11});
}
} // namespace

TEST(UnboundModule, WritesItsEntryPointRecordBeforeTheTableArrives) {
    ExpectEntryPointRecordOverGarbage();
}

TEST(UnboundModule, DescribeAnswersZeroAndLeavesTheRecordAlone) {
    AddOnDescriptionRecord description{};
    EXPECT_EQ(AddOnDescribe(&description), 0);
    EXPECT_TRUE(description.name.IsEmpty());
    EXPECT_TRUE(description.description.IsEmpty());
}

TEST(UnboundModule, RegisterStartAndReleaseRefuseWithoutTouchingTheToken) {
    EXPECT_EQ(AddOnRegister(nullptr), static_cast<GSErrCode>(0x81060001u));
    EXPECT_EQ(AddOnStart(SomeToken()), static_cast<GSErrCode>(0x81060001u));
    EXPECT_EQ(GetAddOnToken(), nullptr);
    EXPECT_EQ(AddOnRelease(), static_cast<GSErrCode>(0x81060001u));
    EXPECT_EQ(GetAddOnToken(), nullptr);
}

TEST(UnboundModule, EveryHostServiceFindsItsSlotEmpty) {
    constexpr auto missing = static_cast<GSErrCode>(0x81060387u);
    GS::UniString name("untouched");
    GS::Guid guid(0x11223344u, 0x5566u, 0x7788u, {1, 2, 3, 4, 5, 6, 7, 8});
    const GS::Guid guidBefore = guid;
    EXPECT_EQ(HostMenuRegister(32500, 32600, 18, 0), missing);
    EXPECT_EQ(HostMenuHandlerInstall(32500, &MenuCommandHandler), missing);
    EXPECT_EQ(HostEnvironment(0x47535046, nullptr, nullptr, nullptr), missing);
    EXPECT_EQ(HostAutomate(0x53415645, nullptr, nullptr, nullptr), missing);
    EXPECT_EQ(HostCommandCall(nullptr, 1, 1, nullptr, nullptr, true), missing);
    EXPECT_EQ(HostObjectFind(&name, &guid), missing);
    EXPECT_EQ(HostObjectRead(&guid, &name, nullptr), missing);
    EXPECT_EQ(name, GS::UniString("untouched"));
    EXPECT_EQ(guid, guidBefore);
}
