#pragma once
// Block pictures kept as editable text and their encoding as the BMP files the editor links in.
//
// The text holds one picture per block: a header line "<bitmap id> <name>" and 16 rows of 16
// characters, one per pixel, each a colour number of the MSX palette ('0'-'9', 'A'-'F', or '.'
// for colour 0, which shows as black). Blank lines and lines starting with '#' may stand between
// pictures.
#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

constexpr int kBlockArtSide = 16;

struct BlockArt {
    int bitmapId = 0;
    std::string name;
    // Colour numbers 0-15, row by row from the top-left pixel.
    std::array<std::uint8_t, kBlockArtSide * kBlockArtSide> pixels{};
};

struct MsxColour {
    std::uint8_t red, green, blue;
};

// The 16 colours of the MSX video chip; colour 0 (transparent) is shown as black.
extern const std::array<MsxColour, 16> kMsxColours;

// Reads every picture of the text. On a malformed text returns false and leaves a message naming
// the offending line in `error`.
bool parseBlockArt(std::istream& in, std::vector<BlockArt>& blocks, std::string& error);

// 24 for the bitmaps that are stored in true colour, 8 for those with a colour table.
int blockBitsPerPixel(int bitmapId);

// The complete BMP file of one picture: 16 x 16, bottom-up, uncompressed, in the depth of
// blockBitsPerPixel (8-bit files carry a 256-entry table that starts with the MSX colours).
std::vector<std::uint8_t> encodeBlockBmp(const BlockArt& art);

// The file name the picture is stored under, e.g. "b407.bmp".
std::string blockBmpFileName(int bitmapId);
