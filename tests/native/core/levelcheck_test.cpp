#include <gtest/gtest.h>

#include "core/level/levelcheck.h"
#include "core/level/levelcodec.h"
#include "core/level/defaultlevel.h"

namespace {

std::vector<std::string> linesOf(const std::vector<LevelWarning>& warnings) {
    std::vector<std::string> lines;
    for (const LevelWarning& warning : warnings)
        lines.push_back((warning.place.empty() ? "" : warning.place + ": ") + warning.message);
    return lines;
}

void setMonster(Level& level, int k, std::vector<int> fields) {
    for (int field = 0; field < kMonsterFields; ++field)
        level.monster(k, field) = fields[field];
}

TEST(LevelCheck, TheDefaultLevelAndUnusedMonstersGiveNoWarning) {
    EXPECT_TRUE(checkLevel(makeDefaultLevel()).empty());
}

TEST(LevelCheck, EachProblemIsOneLineWithItsPlace) {
    Level level = makeDefaultLevel();
    level.endAddress() = level.startAddress() + kLevelBodySize - 1;
    for (int col = 3; col <= 5; ++col)
        level.cell(col, 2) = 0x21; // a run of one code no block has
    level.cell(7, 2) = 0x00;
    // start x 0x28, y 0x10 / end x 0x70, y 0x48: cells (3, 2) and (12, 9), on no common line.
    setMonster(level, 0, {0x28, 0x10, 0x70, 0x48, 2, 0x0A, 8});
    // On one row, but its end lies right of the last column, its type (0x05) and colour (0x10)
    // are in no table.
    setMonster(level, 1, {0x20, 0x40, 0xD0, 0x40, 2, 0x05, 0x10});
    level.monster(1, kMonsterDirection) = 7;
    level.titleChar(0) = 0xE9;
    // A few faults are each named, not folded.
    EXPECT_EQ(linesOf(foldWarnings(checkLevel(level))),
              (std::vector<std::string>{
                  "header: end address 0xCBE5 is not start + 0x1BE (0xCBBE)",
                  "row 2, columns 3-5: code 0x21 belongs to no block (the editor shows nothing "
                  "there)",
                  "row 2, column 7: code 0x00 belongs to no block (the editor shows nothing "
                  "there)",
                  "monster 1: start (0x28, 0x10) and end (0x70, 0x48) share neither a row nor a "
                  "column: the monster will wrap the screen",
                  "monster 2: type 0x05 is in no row of the monster types",
                  "monster 2: colour 0x10 is none of the 16 MSX colours",
                  "monster 2: direction 0x07 is none of west, north, east, south (0 to 3) or "
                  "none (0xFF)",
                  "monster 2: end (0xD0, 0x40) lies outside the grid",
                  "title character 1: code 0xE9 is not a printable character",
              }));
}

TEST(LevelCheck, AFileOfTheWrongLengthOrIdentifierSaysSo) {
    LevelFileBytes file = encodeLevel(makeDefaultLevel());
    EXPECT_TRUE(checkLevelFile(file.data(), file.size()).empty());
    file[0] = 0xFD;
    const std::vector<std::string> lines = linesOf(checkLevelFile(file.data(), file.size()));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "file: identifier byte 0xFD is not 0xFE");
    // An empty file loads as a level of zeros: the length, then 18 rows of code 0x00 and more.
    const std::vector<std::string> empty = linesOf(checkLevelFile(nullptr, 0));
    EXPECT_EQ(empty[0], "file: 0 bytes long, a level file has 493 (the rest loads as 0)");
    EXPECT_EQ(empty[2], "row 0, columns 0-23: code 0x00 belongs to no block (the editor shows "
                        "nothing there)");
}

TEST(LevelCheck, ManyFaultsFoldIntoOneLinePerKindWithCountCodesAndFirstPlace) {
    Level level{}; // what a body of zeros loads as
    for (int col = 0; col < kColumns; ++col)
        level.cell(col, 0) = 0x90 + col; // 24 codes of no block, once each
    for (int row = 10; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            level.cell(col, row) = 0xFF;
    EXPECT_EQ(linesOf(foldWarnings(checkLevel(level))),
              (std::vector<std::string>{
                  "header: end address 0x0000 is not start + 0x1BE (0x01BE)",
                  "432 cells hold codes of no block: 0x00 (216), 0xFF (192), 0x90 (1), 0x91 (1), "
                  "0x92 (1), 0x93 (1), 0x94 (1), 0x95 (1) and 18 other codes; first at row 0, "
                  "column 0",
                  "4 monsters have types in no row of the monster types: 0x00 (4); first at "
                  "monster 1",
                  "4 monsters start outside the grid; first at monster 1",
                  "4 monsters end outside the grid; first at monster 1",
                  "24 title characters are not printable: 0x00 (24); first at title character 1",
              }));
}

TEST(LevelCheck, ABodyIsALevelByItsCellsTitleAndMonsters) {
    Level level = makeDefaultLevel();
    for (int col = 0; col < kColumns; ++col)
        level.cell(col, 5) = 0x00; // 0 is what an unpainted cell holds: no fault
    int stray = 0;
    for (int row = 6; stray < kMostStrayCells; ++row)
        for (int col = 0; col < kColumns && stray < kMostStrayCells; ++col, ++stray)
            level.cell(col, row) = 0x21;
    // An unused monster is not looked at; a used one with an even type code is its row's.
    setMonster(level, 0, {0x00, 0x00, 0x99, 0x99, 0x42, 0xFF, 0x77});
    setMonster(level, 1, {0x20, 0x40, 0x90, 0x40, 0xFF, 0x0A, 15});
    EXPECT_EQ(notALevelBecause(level), "");

    Level cells = level;
    cells.cell(23, 17) = 0xC0;
    EXPECT_EQ(notALevelBecause(cells), "44 cells hold codes of no block");
    Level title = level;
    title.titleChar(4) = 0x7F;
    EXPECT_EQ(notALevelBecause(title), "title character 5 is not printable (0x7F)");
    Level type = level;
    type.monster(2, kMonsterType) = 0x05;
    EXPECT_EQ(notALevelBecause(type), "monster 3 has type 0x05, in no row of the monster types");
    Level colour = level;
    colour.monster(1, kMonsterColor) = 16;
    EXPECT_EQ(notALevelBecause(colour), "monster 2 has colour 0x10, none of the 16 MSX colours");
    Level direction = level;
    direction.monster(1, kMonsterDirection) = 4;
    EXPECT_EQ(notALevelBecause(direction), "monster 2 has direction 0x04, none of 0 to 3 or 0xFF");
}

} // namespace
