#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/level/levelcodec.h"
#include "core/level/defaultlevel.h"

TEST(DefaultLevel, IsAWalledRoomWithACentredTitleAndNoMonsters) {
    const Level level = makeDefaultLevel();
    EXPECT_EQ(level.startAddress(), 0xCA00);
    EXPECT_EQ(level.endAddress(), 0xCBBE);
    EXPECT_EQ(level.execAddress(), 0);
    EXPECT_EQ(level.cell(0, 5), kBrickCode);
    EXPECT_EQ(level.cell(23, 5), kBrickCode);
    EXPECT_EQ(level.cell(7, 0), kBrickCode);
    EXPECT_EQ(level.cell(7, 17), kBrickCode);
    EXPECT_EQ(level.cell(1, 1), kAirCode);
    EXPECT_EQ(level.cell(22, 16), kAirCode);
    std::string title;
    for (int i = 0; i < kTitleLength; ++i)
        title += static_cast<char>(level.titleChar(i));
    EXPECT_EQ(title, "       NEW LEVEL        ");
    for (int k = 0; k < kMonsterCount; ++k)
        for (int field = 0; field < kMonsterFields; ++field)
            EXPECT_EQ(level.monster(k, field), 0xFF);
    // Standing on the floor at cell (2, 16), in monster coordinates.
    EXPECT_EQ(level.manStartX(), 0x20);
    EXPECT_EQ(level.manStartY(), 0x80);
    EXPECT_EQ(level.cell(2, 17), kBrickCode);
    EXPECT_EQ(level.cell(2, 16), kAirCode);
}

TEST(DefaultLevel, ShippedFileIsWhatTheGeneratorMakes) {
    std::ifstream in(std::string(TK_SOURCE_DIR) + "/res/default.bin", std::ios::binary);
    ASSERT_TRUE(in) << "res/default.bin is missing; make it with mkdefaultbin";
    const std::vector<std::uint8_t> shipped((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
    const LevelFileBytes made = encodeLevel(makeDefaultLevel());
    EXPECT_EQ(shipped, std::vector<std::uint8_t>(made.begin(), made.end()));
}
