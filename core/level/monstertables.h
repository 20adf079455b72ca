#pragma once
// What the monster options window knows about monster types, colours and directions. Every
// lookup stays inside its table, whatever byte a level file brings.
#include <string>

struct MonsterType {
    const char* label;
    int code;
};

constexpr int kMonsterTypeCount = 19;
constexpr int kColorCount = 16;
constexpr int kDirectionCount = 4;
constexpr int kNoDirection = 0xFF;

extern const MonsterType mostro[kMonsterTypeCount];
extern const char* const color[kColorCount];

// The entry of `mostro` a stored type code belongs to: its own code or that code + 1. A code that
// belongs to no entry gives entry 0, "(Nothing)".
int monsterTypeIndex(int typeCode);

// The type cursor one step on or back, wrapping around the 19 entries.
int nextMonsterType(int index);
int previousMonsterType(int index);

// The colour cursor one step on or back within 0 to 15. A cursor that holds an out-of-range
// colour from the level (0xFF after "Clear monster") comes back into range: 0xFF steps back to
// 14 and on to 0.
int nextColor(int cursor);
int previousColor(int cursor);

// The colour's name, or "Unknown [XX]" with the value in hexadecimal when no colour has it.
std::string colorDescription(int colorCode);

// Whether a direction value has a selector (0 west, 1 north, 2 east, 3 south).
bool hasDirectionSelector(int direction);
