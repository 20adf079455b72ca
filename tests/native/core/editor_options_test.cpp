// The level options and monster options windows' rules without a window: what the fields show of a
// level, what the buttons put in them, and what Save makes of typed text.
#include <gtest/gtest.h>

#include <string>

#include "core/editor/leveloptions.h"
#include "core/editor/monsteroptions.h"
#include "core/level/defaultlevel.h"
#include "core/level/monstertables.h"

namespace {

Level levelTitled(const std::string& title) {
    Level level = makeDefaultLevel();
    for (int i = 0; i < kTitleLength; ++i)
        level.titleChar(i) = i < static_cast<int>(title.size()) ? title[i] : 0;
    return level;
}

} // namespace

TEST(LevelOptions, FieldsShowTheHeaderAndManInHexAndTheTitleUpToItsFirstNul) {
    Level level = levelTitled(std::string("AB\0CD", 5));
    level.startAddress() = 0xCBE6;
    level.manStartX() = 0x0A;
    level.manStartY() = 0x80;
    const LevelOptionsFields fields = levelOptionsFields(level);
    EXPECT_EQ(fields.start, "CBE6");
    EXPECT_EQ(fields.manX, "A");
    EXPECT_EQ(fields.manY, "80");
    EXPECT_EQ(fields.title, "AB");
}

TEST(LevelOptions, ButtonsStepTheStartUncutAndCentreOnlyTheStoredWidth) {
    EXPECT_EQ(nextLevelStart("CA00"), "CBE6");
    EXPECT_EQ(nextLevelStart("FFFF"), "101E5"); // the field shows the sum; Save cuts it
    EXPECT_EQ(nextLevelStart("junk"), "1E6");
    EXPECT_EQ(standardLevelStart(19), "EE12"); // 0xCA00 + 486 x 19
    EXPECT_EQ(standardLevelStart(20), standardLevelStart(0));
    EXPECT_EQ(centredTitle("ABC"), std::string(10, ' ') + "ABC" + std::string(11, ' '));
    EXPECT_EQ(centredTitle(std::string(20, 'x') + "ABCDEFGH"), std::string(20, 'x') + "ABCD");
}

TEST(LevelOptions, SaveKeepsSixteenBitsOfTheStartAndEightOfTheManAndPadsTheTitle) {
    Level level = makeDefaultLevel();
    level.execAddress() = 0x1234;
    LevelOptionsFields fields{"1FFF0", "0x1FF", " 12zz", "HI"};
    const std::string shown = saveLevelOptions(fields, level);
    EXPECT_EQ(level.startAddress(), 0xFFF0);
    EXPECT_EQ(level.endAddress(), 0x01AE); // start + 0x1BE within 16 bits
    EXPECT_EQ(level.execAddress(), 0);
    EXPECT_EQ(level.manStartX(), 0xFF);
    EXPECT_EQ(level.manStartY(), 0x12);
    EXPECT_EQ(shown, "HI" + std::string(24, ' '));
    EXPECT_EQ(levelOptionsFields(level).title, "HI" + std::string(22, ' '));

    fields = {"FFFFFFFFFF", "", "-1", std::string(30, 'T')};
    EXPECT_EQ(saveLevelOptions(fields, level), std::string(24, 'T') + std::string(24, ' '));
    EXPECT_EQ(level.startAddress(), 0xFFFF); // overflow reads as 0xFFFFFFFF
    EXPECT_EQ(level.manStartX(), 0);
    EXPECT_EQ(level.manStartY(), 0xFF);
    EXPECT_EQ(levelOptionsFields(level).title, std::string(24, 'T'));
}

TEST(MonsterOptions, SelectingAMonsterShowsItsStoredValuesAndPlacesTheCursors) {
    Level level = makeDefaultLevel();
    const int stored[kMonsterFields] = {0x18, 0x20, 0x60, 0x20, 2, 0x0A, 0x1F};
    for (int field = 0; field < kMonsterFields; ++field)
        level.monster(2, field) = stored[field];
    const MonsterSelection selection = selectMonster(level, 2);
    EXPECT_EQ(selection.fields, (MonsterFieldTexts{"18", "20", "60", "20", "2", "A", "1F"}));
    EXPECT_EQ(selection.directionButton, 2);
    EXPECT_EQ(mostro[selection.typeCursor].code, 0x09); // the entry 0x0A belongs to
    EXPECT_EQ(selection.colourCursor, 0x1F);            // outside the 16 colours, kept

    level.monster(2, kMonsterDirection) = 0xFF;
    EXPECT_EQ(selectMonster(level, 2).directionButton, -1);
}

TEST(MonsterOptions, CursorsWriteTheirEntrysCodeAndSaveKeepsEightBitsOfOneMonster) {
    EXPECT_EQ(monsterTypeField(monsterTypeIndex(0x0A)), "9");
    EXPECT_EQ(monsterTypeField(0), "FF");
    EXPECT_EQ(colourField(10), "A");

    Level level = makeDefaultLevel();
    const Level before = level;
    saveMonster({"1FF", "0x1234", "zz", " 7", "3", "23", "F"}, 1, level);
    const int saved[kMonsterFields] = {0xFF, 0x34, 0, 7, 3, 0x23, 0x0F};
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(level.monster(1, field), saved[field]) << field;

    saveMonster(clearedMonsterFields(), 3, level);
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(level.monster(3, field), kClearedMonsterValue) << field;
    for (int k : {0, 2})
        for (int field = 0; field < kMonsterFields; ++field)
            EXPECT_EQ(level.monster(k, field), before.slots[monsterSlot(k, field)]);
}
