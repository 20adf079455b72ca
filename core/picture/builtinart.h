#pragma once
// The block pictures and the font, compiled into the program from core/picture/art/blocks.txt and
// core/picture/art/font.txt, so a program that draws levels needs no file beside it.
#include <cstdint>
#include <vector>

#include "core/picture/blockart.h"
#include "core/picture/fontart.h"

// The pictures of core/picture/art/blocks.txt, parsed once.
const std::vector<BlockArt>& builtInBlockArt();

// The picture of the catalogue's block with this code: the one drawn for its bitmap. Null for a
// code that no block has.
const BlockArt* builtInBlockArtOfCode(std::int32_t code);

// The glyphs of core/picture/art/font.txt, parsed once.
const std::vector<FontGlyph>& builtInFont();
