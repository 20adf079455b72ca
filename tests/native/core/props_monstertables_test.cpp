#include <gtest/gtest.h>

#include <string>

#include "core/level/monstertables.h"

TEST(MonsterTypes, StoredCodeAndTheCodeAboveBelongToTheSameEntry) {
    EXPECT_STREQ(mostro[monsterTypeIndex(0x09)].label, "1: Carrier [0x09]");
    EXPECT_STREQ(mostro[monsterTypeIndex(0x0A)].label, "1: Carrier [0x09]");
    EXPECT_STREQ(mostro[monsterTypeIndex(0x23)].label, "13: Shoe [0x23]");
    EXPECT_STREQ(mostro[monsterTypeIndex(0x22)].label, "14: Sea star [0x21]");
    EXPECT_STREQ(mostro[monsterTypeIndex(0x2C)].label, "18: R / G [0x2B]");
}

TEST(MonsterTypes, UnknownCodesAndNothingGiveTheFirstEntry) {
    for (int code : {0x05, 0xFF, 0x00, 0x08, 0x2D, 0xFE})
        EXPECT_EQ(monsterTypeIndex(code), 0) << code;
    EXPECT_STREQ(mostro[0].label, "0: (Nothing) [0xFF]");
    EXPECT_EQ(mostro[0].code, 0xFF);
}

TEST(MonsterTypes, StepsWrapBothWays) {
    EXPECT_EQ(nextMonsterType(18), 0);
    EXPECT_EQ(previousMonsterType(0), 18);
    EXPECT_EQ(mostro[previousMonsterType(0)].code, 0x2B);
    EXPECT_EQ(nextMonsterType(12), 13);
    EXPECT_EQ(previousMonsterType(13), 12);
}

TEST(MonsterColors, StepsWrapWithinTheSixteenColours) {
    EXPECT_EQ(nextColor(15), 0);
    EXPECT_EQ(previousColor(0), 15);
    EXPECT_EQ(nextColor(4), 5);
    EXPECT_EQ(previousColor(4), 3);
}

TEST(MonsterColors, OutOfRangeCursorsStepBackIntoRange) {
    // 0xFF is what "Clear monster" followed by "Save monster" leaves in a level.
    EXPECT_EQ(previousColor(0xFF), 14);
    EXPECT_EQ(nextColor(0xFF), 0);
    for (int cursor = 16; cursor <= 0xFF; ++cursor) {
        EXPECT_GE(nextColor(cursor), 0);
        EXPECT_LT(nextColor(cursor), 16);
        EXPECT_GE(previousColor(cursor), 0);
        EXPECT_LT(previousColor(cursor), 16);
    }
}

TEST(MonsterColors, DescriptionsNameKnownColoursAndShowUnknownOnesInHex) {
    EXPECT_EQ(colorDescription(0), "Trasparent [0]");
    EXPECT_EQ(colorDescription(10), "Dark yellow [A]");
    EXPECT_EQ(colorDescription(15), "White [F]");
    EXPECT_EQ(colorDescription(16), "Unknown [10]");
    EXPECT_EQ(colorDescription(0xFF), "Unknown [FF]");
}

TEST(MonsterDirections, OnlyTheFourCompassValuesHaveASelector) {
    for (int direction = 0; direction < 4; ++direction)
        EXPECT_TRUE(hasDirectionSelector(direction));
    for (int direction : {4, 0x7F, 0xFE, 0xFF, -1})
        EXPECT_FALSE(hasDirectionSelector(direction));
}
