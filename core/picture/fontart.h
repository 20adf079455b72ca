#pragma once
// The font of the titles in rendered pictures, kept as editable text beside the block art.
//
// The text holds one glyph per character code: a header line "<code> <character>" with the code
// in two hexadecimal digits, then 7 rows of 5 characters, '#' for ink and '.' for paper. Blank
// lines and lines starting with '#' may stand between glyphs.
#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

struct FontGlyph {
    int code = 0;
    // 1 for ink, row by row from the top-left pixel.
    std::array<std::uint8_t, kGlyphWidth * kGlyphHeight> pixels{};
};

// Reads every glyph of the text. On a malformed text returns false and leaves a message naming
// the offending line in `error`.
bool parseFontArt(std::istream& in, std::vector<FontGlyph>& glyphs, std::string& error);
