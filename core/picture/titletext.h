#pragma once
// Text in rendered pictures, drawn with the built-in font.
#include <string>

#include "core/picture/rgbimage.h"

// A character takes its 5 x 7 glyph and one column and one row of space.
constexpr int kCharAdvance = 6;
constexpr int kLineHeight = 8;

// The width `text` takes at `scale`.
int textWidth(const std::string& text, int scale);

// Draws the glyphs of `text` in `ink` from (x, y), each pixel a `scale` x `scale` square; the
// paper is left as it is. A character code without a glyph is drawn as a hollow box.
void drawText(RgbImage& image, int x, int y, const std::string& text, Rgb ink, int scale);
