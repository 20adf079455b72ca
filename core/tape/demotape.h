#pragma once
// A made-up tape image in the layout of the game's: a BASIC loader, then a binary file whose data
// block holds the 20 standard levels at 23438 + 486 x N, then a second binary file, 64 KB in all.
// The levels are painted here from patterns; no byte comes from the game. The browser edition
// offers it to a first visit to start from; mkdemotape writes it for the README's pictures, the
// tomkrin benchmark and the tests.
#include <cstdint>
#include <vector>

#include "core/level/level.h"

constexpr std::size_t kDemoTapeSize = 65536;

// Standard level `n` (0 to 19) of the demonstration tape.
Level makeDemoLevel(unsigned n);

std::vector<std::uint8_t> makeDemoTape();
