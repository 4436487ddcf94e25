#include "ProductVersionInfo.hpp"

#include <gtest/gtest.h>

// The announced version is one per process, so the default can only be seen before the first
// announcement: one test walks through it all.
TEST(ProductVersionInfo, TheDefaultHostUntilAnnouncedThenEachNewObjectSeesTheLatestAnnouncement) {
    const SU::ProductVersionInfo initial;
    EXPECT_TRUE(initial.GetShortVersionString().IsEqual(GS::UniString("27")));
    EXPECT_EQ(initial.GetBuildNum(), 5000);

    SU::ProductVersionInfo::SetHostVersion(GS::UniString("26"), 3999);
    const SU::ProductVersionInfo early;
    SU::ProductVersionInfo::SetHostVersion(GS::UniString(u"28 \u03b2"), -1);
    const SU::ProductVersionInfo later;
    EXPECT_TRUE(early.GetShortVersionString().IsEqual(GS::UniString("26")));
    EXPECT_EQ(early.GetBuildNum(), 3999);
    EXPECT_TRUE(later.GetShortVersionString().IsEqual(GS::UniString(u"28 \u03b2")));
    EXPECT_EQ(later.GetBuildNum(), -1);
    EXPECT_TRUE(initial.GetShortVersionString().IsEqual(GS::UniString("27")));
}
