#include <gtest/gtest.h>

#include <vector>

#include "core/level/levelcodec.h"

namespace {

std::vector<std::uint8_t> patternedFile() {
    std::vector<std::uint8_t> file(kLevelFileSize);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 7 + 3);
    file[0] = kBloadId;
    return file;
}

Level decoded(const std::vector<std::uint8_t>& bytes) {
    Level level;
    for (auto& slot : level.slots)
        slot = -12345; // every slot must be overwritten
    decodeLevel(bytes.data(), bytes.size(), level);
    return level;
}

} // namespace

TEST(LevelRecord, IndexRulesPlaceEveryFieldInItsSlot) {
    EXPECT_EQ(cellSlot(0, 0), 3);
    EXPECT_EQ(cellSlot(0, 1), 4);
    EXPECT_EQ(cellSlot(1, 0), 21);
    EXPECT_EQ(cellSlot(2, 4), 43);
    EXPECT_EQ(cellSlot(23, 17), 434);
    EXPECT_EQ(titleSlot(0), 435);
    EXPECT_EQ(titleSlot(23), 458);
    EXPECT_EQ(monsterSlot(0, 0), 459);
    EXPECT_EQ(monsterSlot(3, 6), 486);
    EXPECT_EQ(kManStartXSlot, 487);
    EXPECT_EQ(standardLevelAddress(19), 0xEE12);
}

TEST(LevelCodec, RoundTripGivesBackTheSameBytes) {
    auto file = patternedFile();
    Level level = decoded(file);
    auto again = encodeLevel(level);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), again.begin()));
}

TEST(LevelCodec, FileCellsRunRowByRowRecordColumnByColumn) {
    auto file = patternedFile();
    Level level = decoded(file);
    EXPECT_EQ(level.slots[21], file[8]);    // cell (1,0)
    EXPECT_EQ(level.slots[4], file[31]);    // cell (0,1)
    EXPECT_EQ(level.slots[434], file[438]); // cell (23,17)
    EXPECT_EQ(level.titleChar(0), file[439]);
    EXPECT_EQ(level.monster(0, kMonsterStartX), file[463]);
    EXPECT_EQ(level.monster(3, kMonsterColor), file[490]);
    EXPECT_EQ(level.manStartX(), file[491]);
    EXPECT_EQ(level.manStartY(), file[492]);
}

TEST(LevelCodec, HeaderWordsAreLittleEndianAndTheIdentifierIsNotChecked) {
    std::vector<std::uint8_t> file = {0x00, 0x00, 0xCA, 0xBE, 0xCB, 0x34, 0x12};
    Level level = decoded(file);
    EXPECT_EQ(level.startAddress(), 0xCA00);
    EXPECT_EQ(level.endAddress(), 0xCBBE);
    EXPECT_EQ(level.execAddress(), 0x1234);
    EXPECT_EQ(encodeLevel(level)[0], kBloadId);
}

TEST(LevelCodec, ShortFilesFillTheMissingValuesWithZero) {
    EXPECT_EQ(decoded({}).startAddress(), 0);
    Level two = decoded({0xFE, 0x34});
    EXPECT_EQ(two.startAddress(), 0x34);
    for (int slot = 1; slot < kSlotCount; ++slot)
        ASSERT_EQ(two.slots[slot], 0) << slot;

    Level seven = decoded({0xFE, 0x00, 0xCA, 0xBE, 0xCB, 0x00, 0x00});
    EXPECT_EQ(seven.startAddress(), 0xCA00);
    EXPECT_EQ(seven.endAddress(), 0xCBBE);
    for (int slot = kFirstCellSlot; slot < kSlotCount; ++slot)
        ASSERT_EQ(seven.slots[slot], 0) << slot;

    auto file = patternedFile();
    file.pop_back();
    Level short492 = decoded(file);
    EXPECT_EQ(short492.manStartX(), file[491]);
    EXPECT_EQ(short492.manStartY(), 0);
}

TEST(LevelCodec, LongFilesLoadFromTheFirst493Bytes) {
    auto file = patternedFile();
    file.resize(600, 0xAA);
    Level level = decoded(file);
    auto again = encodeLevel(level);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), file.begin()));
}

TEST(LevelCodec, SavingKeepsOnlyEachValuesFileWidth) {
    Level level{};
    level.startAddress() = 0x1CA00;
    level.titleChar(0) = -23; // a character with code 0xE9 typed into the title
    level.cell(0, 0) = 0x12D;
    auto bytes = encodeLevel(level);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xCA);
    EXPECT_EQ(bytes[7], 0x2D);
    EXPECT_EQ(bytes[439], 0xE9);
    Level back{};
    decodeLevel(bytes.data(), bytes.size(), back);
    EXPECT_EQ(back.titleChar(0), 233);
}

TEST(LevelCodec, AnEmptyRecordSavesAsTheIdentifierAndZeros) {
    auto bytes = encodeLevel(Level{});
    EXPECT_EQ(bytes[0], 0xFE);
    for (std::size_t i = 1; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], 0) << i;
}
