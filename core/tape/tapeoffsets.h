#pragma once
// Where the game's standard levels lie in its tape image, and stepping through their numbers.
#include "core/level/level.h"

// The body of standard level 0; the others follow it back to back.
constexpr int kFirstStandardLevelOffset = 23438;

constexpr bool isStandardLevel(unsigned level) {
    return level < kStandardLevelCount;
}

// Byte offset of the body of standard level `level` (0 to 19) in the tape image.
int standardLevelOffset(unsigned level);

// The level numbers below and above `level`, wrapping within 0 to 19; any number is first folded
// into that range, so a typed 47 steps to 6 and 8.
unsigned previousStandardLevel(unsigned level);
unsigned nextStandardLevel(unsigned level);
