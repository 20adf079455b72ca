#pragma once
// The block pictures and the font, compiled into the program from core/picture/art/blocks.txt and
// core/picture/art/font.txt, so a program that draws levels needs no file beside it.
#include <vector>

#include "core/picture/blockart.h"
#include "core/picture/fontart.h"

// The pictures of core/picture/art/blocks.txt, parsed once.
const std::vector<BlockArt>& builtInBlockArt();

// The glyphs of core/picture/art/font.txt, parsed once.
const std::vector<FontGlyph>& builtInFont();
