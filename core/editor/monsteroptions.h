#pragma once
// The monster options window's rules. Its seven fields are a copy of one monster in hexadecimal
// (hexnumber.h), in the order of the level record, taken again whenever a monster is selected; the
// type and colour cursors step through the tables of monstertables.h; the level changes only with
// Save monster.
#include <array>
#include <string>

#include "core/level/level.h"

using MonsterFieldTexts = std::array<std::string, kMonsterFields>;

// What the window shows when monster `monster` (0 to 3) is selected.
struct MonsterSelection {
    MonsterFieldTexts fields; // the stored values; the type field keeps the stored code
    int directionButton = -1; // the direction selector to check (0 W, 1 N, 2 E, 3 S), or -1
    int typeCursor = 0;       // the entry of the monster types the stored code belongs to
    int colourCursor = 0;     // the stored colour, even one outside the 16 colours
};

MonsterSelection selectMonster(const Level& level, int monster);

// The type field after the type cursor moved: the entry's own code.
std::string monsterTypeField(int typeCursor);

// The colour field for the colour cursor.
std::string colourField(int colourCursor);

// "Clear monster": every field holds kClearedMonsterValue. Only the fields change; Save monster
// stores them.
MonsterFieldTexts clearedMonsterFields();

// "Save monster": each field's hexadecimal value, its low 8 bits, into monster `monster`.
void saveMonster(const MonsterFieldTexts& fields, int monster, Level& level);
