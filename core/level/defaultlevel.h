#pragma once
// The level that File > New starts from, shipped as default.bin beside the editor.
#include "core/level/level.h"

constexpr int kAirCode = 0x20;
constexpr int kBrickCode = 0x3A;

// Standard level 0's addresses; an empty room of air walled and floored with brick; the title
// "NEW LEVEL" centred; the man on the floor in the room's bottom left corner, at cell (2, 16),
// given in monster coordinates (x = col * 8 + 16, y = row * 8): 0x20, 0x80; and four cleared
// monsters (0xFF in every field).
Level makeDefaultLevel();
