#pragma once
// The level being edited: 489 signed 32-bit slots in the order the level file stores its values.
#include <cmath>
#include <cstdint>

constexpr int kColumns = 24;
constexpr int kRows = 18;
constexpr int kTitleLength = 24;
constexpr int kMonsterCount = 4;
constexpr int kMonsterFields = 7;
constexpr int kSlotCount = 489;

constexpr int kFirstCellSlot = 3;
constexpr int kFirstTitleSlot = 435;
constexpr int kFirstMonsterSlot = 459;
constexpr int kManStartXSlot = 487;
constexpr int kManStartYSlot = 488;

// Cells are kept column by column: the 18 cells of one column are consecutive.
constexpr int cellSlot(int col, int row) {
    return kFirstCellSlot + col * kRows + row;
}
constexpr int titleSlot(int i) {
    return kFirstTitleSlot + i;
}
constexpr int monsterSlot(int monster, int field) {
    return kFirstMonsterSlot + kMonsterFields * monster + field;
}

enum MonsterField {
    kMonsterStartX,
    kMonsterStartY,
    kMonsterEndX,
    kMonsterEndY,
    kMonsterDirection,
    kMonsterType,
    kMonsterColor
};
// The type of a monster slot that holds no monster.
constexpr int kUnusedMonsterType = 0xFF;
// What every field of a cleared monster holds: the default level's four monsters, and the monster
// options window's fields after "Clear monster".
constexpr int kClearedMonsterValue = 0xFF;

struct Level {
    int32_t slots[kSlotCount];

    int32_t& startAddress() { return slots[0]; }
    int32_t& endAddress() { return slots[1]; }
    int32_t& execAddress() { return slots[2]; }
    int32_t& cell(int col, int row) { return slots[cellSlot(col, row)]; }
    int32_t& titleChar(int i) { return slots[titleSlot(i)]; }
    int32_t& monster(int k, int field) { return slots[monsterSlot(k, field)]; }
    int32_t& manStartX() { return slots[kManStartXSlot]; }
    int32_t& manStartY() { return slots[kManStartYSlot]; }

    int32_t startAddress() const { return slots[0]; }
    int32_t endAddress() const { return slots[1]; }
    int32_t execAddress() const { return slots[2]; }
    int32_t cell(int col, int row) const { return slots[cellSlot(col, row)]; }
    int32_t titleChar(int i) const { return slots[titleSlot(i)]; }
    int32_t monster(int k, int field) const { return slots[monsterSlot(k, field)]; }
    int32_t manStartX() const { return slots[kManStartXSlot]; }
    int32_t manStartY() const { return slots[kManStartYSlot]; }
};
static_assert(sizeof(Level) == kSlotCount * 4, "a level is exactly 489 slots");

// Standard level n of the game loads at this address.
constexpr int kFirstLevelAddress = 0xCA00;
constexpr int kLevelBodySize = 486;
constexpr int kEndAddressDistance = 0x1BE;
// The game has 20 standard levels, numbered 0 to 19.
constexpr unsigned kStandardLevelCount = 20;
constexpr int standardLevelAddress(int n) {
    return kFirstLevelAddress + n * kLevelBodySize;
}
// The end address a header gets when the level options are saved: start + 0x1BE, in 16 bits.
constexpr int headerEndAddress(int start) {
    return (start + kEndAddressDistance) & 0xFFFF;
}
// The standard level that loads at `address`, or -1 when none does.
constexpr int standardLevelAtAddress(int address) {
    for (int n = 0; n < static_cast<int>(kStandardLevelCount); ++n)
        if (standardLevelAddress(n) == address)
            return n;
    return -1;
}

// Monster coordinates of a cell: the positions the monster options window takes, 8 to a cell.
constexpr int kMonsterStepsPerCell = 8;
constexpr int monsterX(int col) {
    return col * kMonsterStepsPerCell + 16;
}
constexpr int monsterY(int row) {
    return row * kMonsterStepsPerCell;
}

// A picture of the grid with cells of `cellPixels` square pixels, the first at pixel 0 (the
// renderer's and a Tiled map's are 16), shows a monster at monster coordinates (x, y) at the
// centre of the cell they name, and between cells in proportion.
constexpr int monsterPixelX(int x, int cellPixels) {
    return (x - monsterX(0)) * cellPixels / kMonsterStepsPerCell + cellPixels / 2;
}
constexpr int monsterPixelY(int y, int cellPixels) {
    return (y - monsterY(0)) * cellPixels / kMonsterStepsPerCell + cellPixels / 2;
}
// And back: the monster coordinate nearest to a pixel position of such a picture.
inline long long monsterXAtPixel(double pixel, int cellPixels) {
    const double pixelsPerStep = static_cast<double>(cellPixels) / kMonsterStepsPerCell;
    return std::llround((pixel - cellPixels / 2) / pixelsPerStep) + monsterX(0);
}
inline long long monsterYAtPixel(double pixel, int cellPixels) {
    const double pixelsPerStep = static_cast<double>(cellPixels) / kMonsterStepsPerCell;
    return std::llround((pixel - cellPixels / 2) / pixelsPerStep) + monsterY(0);
}
