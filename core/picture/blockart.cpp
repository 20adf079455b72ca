#include "core/picture/blockart.h"

#include <cctype>
#include <set>

#include "core/level/hexdigit.h"
#include "core/picture/arttext.h"

const std::array<MsxColour, 16> kMsxColours = {{
    {0x00, 0x00, 0x00}, // 0 transparent
    {0x00, 0x00, 0x00}, // 1 black
    {0x21, 0xC8, 0x42}, // 2 medium green
    {0x5E, 0xDC, 0x78}, // 3 light green
    {0x54, 0x55, 0xED}, // 4 dark blue
    {0x7D, 0x76, 0xFC}, // 5 light blue
    {0xD4, 0x52, 0x4D}, // 6 dark red
    {0x42, 0xEB, 0xF5}, // 7 cyan
    {0xFC, 0x55, 0x54}, // 8 medium red
    {0xFF, 0x79, 0x78}, // 9 light red
    {0xD4, 0xC1, 0x54}, // A dark yellow
    {0xE6, 0xCE, 0x80}, // B light yellow
    {0x21, 0xB0, 0x3B}, // C dark green
    {0xC9, 0x5B, 0xBA}, // D magenta
    {0xCC, 0xCC, 0xCC}, // E grey
    {0xFF, 0xFF, 0xFF}, // F white
}};

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kTableEntries = 256;
constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

// "<id> <name>", the id a decimal resource number 1-65535.
bool parseHeader(const std::string& line, BlockArt& art) {
    std::size_t digits = 0;
    while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
        ++digits;
    if (digits == 0 || digits > 5 || digits + 1 >= line.size() || line[digits] != ' ')
        return false;
    art.bitmapId = std::stoi(line.substr(0, digits));
    art.name = line.substr(digits + 1);
    return art.bitmapId >= 1 && art.bitmapId <= 0xFFFF;
}

int colourOfChar(char c) {
    return c == '.' ? 0 : upperHexDigitValue(c);
}

bool parseRow(const std::string& line, int row, BlockArt& art) {
    if (line.size() != kBlockArtSide)
        return false;
    for (int col = 0; col < kBlockArtSide; ++col) {
        int colour = colourOfChar(line[col]);
        if (colour < 0)
            return false;
        art.pixels[row * kBlockArtSide + col] = static_cast<std::uint8_t>(colour);
    }
    return true;
}

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putColour(std::vector<std::uint8_t>& out, const MsxColour& colour) {
    out.push_back(colour.blue);
    out.push_back(colour.green);
    out.push_back(colour.red);
}

void putColourTable(std::vector<std::uint8_t>& out) {
    for (int entry = 0; entry < kTableEntries; ++entry) {
        putColour(out, entry < 16 ? kMsxColours[entry] : MsxColour{0, 0, 0});
        out.push_back(0);
    }
}

// Rows go bottom-up; 16 pixels make whole 4-byte rows in both depths, so no padding is needed.
void putPixels(std::vector<std::uint8_t>& out, const BlockArt& art, int bitsPerPixel) {
    for (int row = kBlockArtSide - 1; row >= 0; --row) {
        for (int col = 0; col < kBlockArtSide; ++col) {
            std::uint8_t colour = art.pixels[row * kBlockArtSide + col];
            if (bitsPerPixel == 8)
                out.push_back(colour);
            else
                putColour(out, kMsxColours[colour]);
        }
    }
}

} // namespace

bool parseBlockArt(std::istream& in, std::vector<BlockArt>& blocks, std::string& error) {
    std::set<int> seenIds;
    ArtTextReader text(in);
    std::string line;
    while (text.nextHeader(line)) {
        BlockArt art;
        if (!parseHeader(line, art)) {
            error = text.error("expected \"<bitmap id> <name>\"");
            return false;
        }
        if (!seenIds.insert(art.bitmapId).second) {
            error = text.error("bitmap " + std::to_string(art.bitmapId) + " drawn twice");
            return false;
        }
        for (int row = 0; row < kBlockArtSide; ++row) {
            if (!text.nextRow(line)) {
                error = text.error("picture of " + art.name + " ends early");
                return false;
            }
            if (!parseRow(line, row, art)) {
                error = text.error("expected 16 of .0123456789ABCDEF");
                return false;
            }
        }
        blocks.push_back(art);
    }
    return true;
}

int blockBitsPerPixel(int bitmapId) {
    bool trueColour = (bitmapId >= 111 && bitmapId <= 122) || bitmapId == 407 || bitmapId == 455 ||
                      bitmapId == 456;
    return trueColour ? 24 : 8;
}

std::vector<std::uint8_t> encodeBlockBmp(const BlockArt& art) {
    const int bitsPerPixel = blockBitsPerPixel(art.bitmapId);
    const std::uint32_t tableSize = bitsPerPixel == 8 ? kTableEntries * 4 : 0;
    const std::uint32_t imageSize = kBlockArtSide * kBlockArtSide * bitsPerPixel / 8;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + tableSize;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    putU32(out, pixelOffset + imageSize);
    putU32(out, 0); // two reserved words
    putU32(out, pixelOffset);

    putU32(out, kInfoHeaderSize);
    putU32(out, kBlockArtSide);
    putU32(out, kBlockArtSide); // positive height: bottom-up rows
    putU16(out, 1);             // planes
    putU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    putU32(out, 0); // BI_RGB, uncompressed
    putU32(out, imageSize);
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, bitsPerPixel == 8 ? kTableEntries : 0); // colours used
    putU32(out, 0);                                     // all colours important

    if (bitsPerPixel == 8)
        putColourTable(out);
    putPixels(out, art, bitsPerPixel);
    return out;
}

std::string blockBmpFileName(int bitmapId) {
    return "b" + std::to_string(bitmapId) + ".bmp";
}
