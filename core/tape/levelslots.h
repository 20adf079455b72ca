#pragma once
// Taking the game's standard levels out of a tape image and putting level bodies back into one.
// The insertion writes the same bytes as the editor's, but only where the image already has them:
// the image is never lengthened.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/level/levelcodec.h"

// Whether an image of `tapeSize` bytes holds a whole level body at `offset`.
bool tapeHoldsBodyAt(std::size_t tapeSize, std::size_t offset);

// Where a body placed at `offset` ends: the first byte after it.
std::size_t bodyEndOffset(std::size_t offset);

// The level file of standard level `level` (0 to 19) as the editor saves it after its level
// options are set: 0xFE, start 0xCA00 + 486 * level, end start + 0x1BE, exec 0, then the body as
// the tape holds it; body bytes past the end of the tape are 0.
LevelFileBytes extractStandardLevel(const std::uint8_t* tape, std::size_t tapeSize, unsigned level);

// Whether a level file of `size` bytes supplies a whole body (it is at least 493 bytes long).
bool levelFileHoldsBody(std::size_t size);

// Copies the body of `levelFile` (its bytes 7 to 492) over the bytes of `tape` at `offset`. The
// level file must hold a body and the tape must hold one at `offset`.
void insertLevelBody(const std::uint8_t* levelFile, std::vector<std::uint8_t>& tape,
                     std::size_t offset);
