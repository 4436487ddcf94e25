#include "Session/EntryPointCheck.hpp"

#include <gtest/gtest.h>

#include <cstring>

using namespace HostSim;

namespace {

Int32 HOST_CALL Describe(AddOnDescriptionRecord*) {
    return 1;
}
GSErrCode HOST_CALL Register(void*) {
    return 0;
}
GSErrCode HOST_CALL Start(AddOnToken) {
    return 0;
}
GSErrCode HOST_CALL Release() {
    return 0;
}

// What a well-made add-on writes.
EntryPointBytes GoodRecord() {
    EntryPointRecord record{};
    record.interfaceVersion = EntryPointRecordVersion;
    record.describe = Describe;
    record.registerInterface = Register;
    record.start = Start;
    record.release = Release;
    record.platformCode = EntryPointPlatformCode;
    EntryPointBytes bytes{};
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

} // namespace

TEST(EntryPointCheckTests, AWellMadeRecordIsUsableAndDecoded) {
    EntryPointCheck check = CheckEntryPointRecord(GoodRecord());
    EXPECT_TRUE(check.IsUsable()) << check.fault;
    EXPECT_EQ(check.record.start, &Start);
    EXPECT_EQ(check.fields["interfaceVersion"], "0x001A0001");
    EXPECT_EQ(check.fields["platformCode"], 26000);
    EXPECT_EQ(check.fields["reservedZero"], true);
    EXPECT_EQ(check.fields["usable"], true);
    const std::string hex = check.fields["bytes"];
    EXPECT_EQ(hex.size(), 240u);
    EXPECT_EQ(hex.substr(0, 16), "01001a0000000000");
    EXPECT_EQ(hex.substr(80, 8), "90650000"); // 26000, little-endian
}

TEST(EntryPointCheckTests, AnotherInterfaceVersionIsRefusedWithBothWords) {
    EntryPointBytes bytes = GoodRecord();
    bytes[0] = 0x02;
    EntryPointCheck check = CheckEntryPointRecord(bytes);
    EXPECT_FALSE(check.IsUsable());
    EXPECT_EQ(check.fault, "entry-point record starts with 0x001A0002, expected 0x001A0001");
    EXPECT_EQ(check.fields["fault"], check.fault);
    EXPECT_EQ(check.fields["usable"], false);
}

TEST(EntryPointCheckTests, EveryMissingEntryPointIsNamed) {
    EntryPointBytes bytes = GoodRecord();
    std::memset(bytes.data() + offsetof(EntryPointRecord, registerInterface), 0, 8);
    std::memset(bytes.data() + offsetof(EntryPointRecord, release), 0, 8);
    EntryPointCheck check = CheckEntryPointRecord(bytes);
    EXPECT_EQ(check.fault, "entry-point record lacks register, release");
}

TEST(EntryPointCheckTests, UnwrittenReservedBytesAreReportedButNotRefused) {
    EntryPointBytes bytes = GoodRecord();
    bytes[119] = 0xA5;
    EntryPointCheck check = CheckEntryPointRecord(bytes);
    EXPECT_TRUE(check.IsUsable());
    EXPECT_EQ(check.fields["reservedZero"], false);

    bytes = GoodRecord();
    bytes[5] = 1;
    EXPECT_EQ(CheckEntryPointRecord(bytes).fields["reservedZero"], false);
}

TEST(EntryPointCheckTests, AHostThatRecordsNothingGetsTheSameVerdictWithoutFields) {
    EntryPointBytes bytes = GoodRecord();
    bytes[0] = 0x02;
    const EntryPointCheck quiet = CheckEntryPointRecord(bytes, false);
    EXPECT_EQ(quiet.fault, CheckEntryPointRecord(bytes).fault);
    EXPECT_TRUE(quiet.fields.is_null());
    EXPECT_TRUE(CheckEntryPointRecord(GoodRecord(), false).IsUsable());
}
