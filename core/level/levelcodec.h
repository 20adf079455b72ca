#pragma once
// The 493-byte level file: 0xFE, three little-endian addresses, then the 486-byte level body with
// the cells row by row, the title, the four monsters and the man's start.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/level/level.h"

constexpr std::size_t kLevelFileSize = 493;
constexpr std::size_t kLevelHeaderSize = 7;
constexpr std::uint8_t kBloadId = 0xFE;

using LevelFileBytes = std::array<std::uint8_t, kLevelFileSize>;

// Fills every slot of `level` from the first min(size, 493) bytes of `data`; a value whose bytes
// lie past the end is 0, and a header word with only its first byte present takes that byte.
void decodeLevel(const std::uint8_t* data, std::size_t size, Level& level);

// The 493 bytes of a level file; each slot keeps only its file width (16 or 8 bits).
LevelFileBytes encodeLevel(const Level& level);
