#include "core/level/defaultlevel.h"

#include "core/level/centratesto.h"

namespace {

constexpr int kManColumn = 2;
constexpr int kManRow = kRows - 2; // the row just above the floor

bool onBorder(int col, int row) {
    return col == 0 || col == kColumns - 1 || row == 0 || row == kRows - 1;
}

void fillRoom(Level& level) {
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row)
            level.cell(col, row) = onBorder(col, row) ? kBrickCode : kAirCode;
}

void setTitle(Level& level, const char* text) {
    char centred[kTitleLength + 1];
    centratesto(text, centred, kTitleLength);
    for (int i = 0; i < kTitleLength; ++i)
        level.titleChar(i) = static_cast<unsigned char>(centred[i]);
}

} // namespace

Level makeDefaultLevel() {
    Level level{};
    level.startAddress() = standardLevelAddress(0);
    level.endAddress() = headerEndAddress(standardLevelAddress(0));
    level.execAddress() = 0;
    fillRoom(level);
    setTitle(level, "NEW LEVEL");
    for (int k = 0; k < kMonsterCount; ++k)
        for (int field = 0; field < kMonsterFields; ++field)
            level.monster(k, field) = kClearedMonsterValue;
    level.manStartX() = kManColumn * 8 + 16;
    level.manStartY() = kManRow * 8;
    return level;
}
