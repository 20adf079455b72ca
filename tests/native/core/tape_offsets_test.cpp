#include <gtest/gtest.h>

#include "core/tape/levelslots.h"

TEST(TapeOffsets, StandardLevelsLieBackToBackFromLevelZero) {
    EXPECT_EQ(standardLevelOffset(0), 23438);
    EXPECT_EQ(standardLevelOffset(0), 0x5B8E);
    EXPECT_EQ(standardLevelOffset(1), 23924);
    EXPECT_EQ(standardLevelOffset(19), 32672);
    EXPECT_EQ(standardLevelOffset(19) + kLevelBodySize, 33158);
    EXPECT_EQ(kLevelBodySize, 486);
}

TEST(TapeOffsets, OnlyZeroToNineteenAreStandardLevels) {
    EXPECT_TRUE(isStandardLevel(0));
    EXPECT_TRUE(isStandardLevel(19));
    EXPECT_FALSE(isStandardLevel(20));
    EXPECT_FALSE(isStandardLevel(4294967295u));
}

TEST(TapeOffsets, SteppingWrapsAndFoldsAnyNumberIntoTheRange) {
    EXPECT_EQ(nextStandardLevel(0), 1u);
    EXPECT_EQ(previousStandardLevel(0), 19u);
    EXPECT_EQ(nextStandardLevel(19), 0u);
    EXPECT_EQ(previousStandardLevel(19), 18u);
    EXPECT_EQ(nextStandardLevel(47), 8u);
    EXPECT_EQ(previousStandardLevel(47), 6u);
    // The largest number the level box can hold folds like any other (4294967295 mod 20 is 15).
    EXPECT_EQ(nextStandardLevel(4294967295u), 16u);
    EXPECT_EQ(previousStandardLevel(4294967295u), 14u);
}
