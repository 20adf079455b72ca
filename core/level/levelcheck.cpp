#include "core/level/levelcheck.h"

#include <cstdio>

#include "core/level/blockcatalog.h"
#include "core/level/levelcodec.h"
#include "core/level/leveltitle.h"
#include "core/level/monstertables.h"

namespace {

constexpr int kUnusedMonsterType = 0xFF;

std::string hex(int value, int digits = 2) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

void checkHeader(const Level& level, std::vector<LevelWarning>& warnings) {
    const int expected = headerEndAddress(level.startAddress());
    if (level.endAddress() != expected)
        warnings.push_back({"header", "end address " + hex(level.endAddress(), 4) +
                                          " is not start + 0x1BE (" + hex(expected, 4) + ")"});
}

std::string columnsText(int first, int last) {
    if (first == last)
        return "column " + std::to_string(first);
    return "columns " + std::to_string(first) + "-" + std::to_string(last);
}

// One warning per run of equal unknown codes in a row, so an empty level says 18 lines, not 432.
void checkCells(const Level& level, std::vector<LevelWarning>& warnings) {
    for (int row = 0; row < kRows; ++row) {
        int col = 0;
        while (col < kColumns) {
            const int code = level.cell(col, row);
            int last = col;
            while (last + 1 < kColumns && level.cell(last + 1, row) == code)
                ++last;
            if (blockIndexOfCode(code) < 0)
                warnings.push_back({"row " + std::to_string(row) + ", " + columnsText(col, last),
                                    "code " + hex(code) +
                                        " belongs to no block (the editor shows nothing there)"});
            col = last + 1;
        }
    }
}

bool onGrid(int x, int y) {
    return x >= monsterX(0) && x <= monsterX(kColumns - 1) && y >= monsterY(0) &&
           y <= monsterY(kRows - 1);
}

std::string position(int x, int y) {
    return "(" + hex(x) + ", " + hex(y) + ")";
}

void checkMonster(const Level& level, int k, std::vector<LevelWarning>& warnings) {
    const int type = level.monster(k, kMonsterType);
    if (type == kUnusedMonsterType)
        return;
    const std::string place = "monster " + std::to_string(k + 1);
    const int startX = level.monster(k, kMonsterStartX);
    const int startY = level.monster(k, kMonsterStartY);
    const int endX = level.monster(k, kMonsterEndX);
    const int endY = level.monster(k, kMonsterEndY);
    if (monsterTypeIndex(type) == 0)
        warnings.push_back({place, "type " + hex(type) + " is in no row of the monster types"});
    const int colour = level.monster(k, kMonsterColor);
    if (colour < 0 || colour >= kColorCount)
        warnings.push_back({place, "colour " + hex(colour) + " is none of the 16 MSX colours"});
    if (!onGrid(startX, startY))
        warnings.push_back({place, "start " + position(startX, startY) + " lies outside the grid"});
    if (!onGrid(endX, endY))
        warnings.push_back({place, "end " + position(endX, endY) + " lies outside the grid"});
    if (startX != endX && startY != endY)
        warnings.push_back({place, "start " + position(startX, startY) + " and end " +
                                       position(endX, endY) +
                                       " share neither a row nor a column: the monster will "
                                       "wrap the screen"});
}

void checkTitle(const Level& level, std::vector<LevelWarning>& warnings) {
    for (int i = 0; i < kTitleLength; ++i) {
        const int code = level.titleChar(i) & 0xFF;
        if (!isPrintableTitleChar(code))
            warnings.push_back({"title character " + std::to_string(i + 1),
                                "code " + hex(code) + " is not a printable character"});
    }
}

} // namespace

std::vector<LevelWarning> checkLevel(const Level& level) {
    std::vector<LevelWarning> warnings;
    checkHeader(level, warnings);
    checkCells(level, warnings);
    for (int k = 0; k < kMonsterCount; ++k)
        checkMonster(level, k, warnings);
    checkTitle(level, warnings);
    return warnings;
}

std::vector<LevelWarning> checkLevelFile(const std::uint8_t* data, std::size_t size) {
    std::vector<LevelWarning> warnings;
    if (size != kLevelFileSize)
        warnings.push_back({"file", std::to_string(size) + " bytes long, a level file has " +
                                        std::to_string(kLevelFileSize) +
                                        (size < kLevelFileSize ? " (the rest loads as 0)"
                                                               : " (the rest is ignored)")});
    if (size > 0 && data[0] != kBloadId)
        warnings.push_back({"file", "identifier byte " + hex(data[0]) + " is not 0xFE"});
    Level level;
    decodeLevel(data, size, level);
    const std::vector<LevelWarning> levelWarnings = checkLevel(level);
    warnings.insert(warnings.end(), levelWarnings.begin(), levelWarnings.end());
    return warnings;
}
