#include "core/level/monstertables.h"

#include <cstdio>

const MonsterType mostro[kMonsterTypeCount] = {
    {"0: (Nothing) [0xFF]", 0xFF},   {"1: Carrier [0x09]", 0x09},    {"2: Sweet [0x0B]", 0x0B},
    {"3: Mouth [0x0D]", 0x0D},       {"4: Invader [0x0F]", 0x0F},    {"5: Car [0x11]", 0x11},
    {"6: Skull [0x13]", 0x13},       {"7: Phone [0x15]", 0x15},      {"8: Baby [0x17]", 0x17},
    {"9: MiniMonster [0x19]", 0x19}, {"10: Monocycle [0x1B]", 0x1B}, {"11: N [0x1D]", 0x1D},
    {"12: WC [0x1F]", 0x1F},         {"13: Shoe [0x23]", 0x23},      {"14: Sea star [0x21]", 0x21},
    {"15: Scissors [0x25]", 0x25},   {"16: Candle [0x27]", 0x27},    {"17: Ecstasy [0x29]", 0x29},
    {"18: R / G [0x2B]", 0x2B},
};

// The MSX palette, by colour number.
const char* const color[kColorCount] = {
    "Trasparent [0]", "Black [1]",      "Green [2]",       "Light green [3]",
    "Dark blue [4]",  "Light blue [5]", "Dark red [6]",    "Cyan [7]",
    "Red [8]",        "Light red [9]",  "Dark yellow [A]", "Light yellow [B]",
    "Dark green [C]", "Magenta [D]",    "Grey [E]",        "White [F]",
};

int monsterTypeIndex(int typeCode) {
    int index = 0;
    // The game takes a type's code and the code above it as the same monster.
    for (int j = 0; j < kMonsterTypeCount; ++j)
        if (mostro[j].code == typeCode || mostro[j].code + 1 == typeCode)
            index = j;
    return index;
}

int nextMonsterType(int index) {
    return (index + 1) % kMonsterTypeCount;
}
int previousMonsterType(int index) {
    return (index + kMonsterTypeCount - 1) % kMonsterTypeCount;
}

namespace {
int wrapColor(int cursor) {
    return ((cursor % kColorCount) + kColorCount) % kColorCount;
}
} // namespace

int nextColor(int cursor) {
    return wrapColor(wrapColor(cursor) + 1);
}
int previousColor(int cursor) {
    return wrapColor(wrapColor(cursor) + kColorCount - 1);
}

std::string colorDescription(int colorCode) {
    if (colorCode >= 0 && colorCode < kColorCount)
        return color[colorCode];
    char text[32];
    std::snprintf(text, sizeof text, "Unknown [%02X]", static_cast<unsigned>(colorCode));
    return text;
}

bool hasDirectionSelector(int direction) {
    return direction >= 0 && direction < kDirectionCount;
}
