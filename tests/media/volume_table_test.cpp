#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "runtime/media/volume_table.h"

namespace {

TEST(VolumeTable, EndsAndTellingValues) {
    EXPECT_EQ(volume_level(0), -10000);
    EXPECT_EQ(volume_level(1), -4000);
    EXPECT_EQ(volume_level(10), -2000);
    EXPECT_EQ(volume_level(50), -603);
    EXPECT_EQ(volume_level(75), -250);
    EXPECT_EQ(volume_level(90), -92);
    EXPECT_EQ(volume_level(99), -9);
    EXPECT_EQ(volume_level(100), 0);
}

TEST(VolumeTable, EntriesRiseFromSilenceToFullLevel) {
    const VolumeTable& table = volume_table();
    EXPECT_EQ(table.entry[0], 0);
    EXPECT_EQ(table.entry[100], 10000);
    for (int i = 1; i < VOLUME_TABLE_SIZE; ++i) EXPECT_GT(table.entry[i], table.entry[i - 1]) << "entry " << i;
    // Each step within 1..99 is the truncated 2000 * log10 curve: never more
    // than one hundredth of a decibel away from it.
    for (int i = 1; i < 100; ++i) {
        double curve = 6000.0 + 2000.0 * std::log10(static_cast<double>(i));
        EXPECT_LE(table.entry[i], curve + 1e-6) << "entry " << i;
        EXPECT_GT(table.entry[i], curve - 1.0) << "entry " << i;
    }
}

TEST(VolumeTable, VolumeOutsideTheRangeIsClamped) {
    EXPECT_EQ(volume_level(150), 0);
    EXPECT_EQ(volume_level(101), 0);
    EXPECT_EQ(volume_level(INT_MAX), 0);
    EXPECT_EQ(volume_level(-5), -10000);
    EXPECT_EQ(volume_level(INT_MIN), -10000);
}

TEST(VolumeTable, BalanceInHundredthsClamped) {
    EXPECT_EQ(balance_level(0), 0);
    EXPECT_EQ(balance_level(100), 10000);
    EXPECT_EQ(balance_level(101), 10000);
    EXPECT_EQ(balance_level(-100), -10000);
    EXPECT_EQ(balance_level(-101), -10000);
    EXPECT_EQ(balance_level(37), 3700);
    EXPECT_EQ(balance_level(-42), -4200);
    // Large values must clamp, not wrap around when multiplied.
    EXPECT_EQ(balance_level(INT_MAX), 10000);
    EXPECT_EQ(balance_level(INT_MIN), -10000);
    EXPECT_EQ(balance_level(INT_MAX / 50), 10000);
}

}  // namespace
