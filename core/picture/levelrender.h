#pragma once
// A level as a picture: at scale 1 the grid is the top-left 384 x 288 pixels, each cell the 16 x 16
// picture the editor's canvas draws there (plain white for a code no block has, as the editor's
// window leaves it); each monster's path from start to end with its number on top; and the title
// in a band under the grid.
#include "core/picture/rgbimage.h"
#include "core/level/level.h"

constexpr int kCellPixels = 16;
constexpr int kGridWidth = kColumns * kCellPixels;
constexpr int kGridHeight = kRows * kCellPixels;
constexpr int kTitleBandHeight = 24;
constexpr int kTitleScale = 2;
constexpr int kLargestRenderScale = 16;

// The picture the grid shows for a cell that holds `code`: its block's, or plain white for a code
// no block has.
const RgbImage& blockPicture(std::int32_t code);

// The grid alone, at scale 1.
RgbImage renderLevelGrid(const Level& level);

// The grid and the title band, every pixel a `scale` x `scale` square (1 to 16).
RgbImage renderLevel(const Level& level, int scale);

// The colour of monster k's (0 to 3) path and number.
Rgb monsterPathColour(int k);
