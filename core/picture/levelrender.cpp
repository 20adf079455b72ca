#include "core/picture/levelrender.h"

#include <array>
#include <cstdlib>
#include <string>

#include "core/level/blockcatalog.h"
#include "core/picture/titletext.h"
#include "core/level/leveltitle.h"
#include "core/picture/builtinart.h"

namespace {

constexpr Rgb kWhite = {0xFF, 0xFF, 0xFF};
constexpr Rgb kBlack = {0x00, 0x00, 0x00};
constexpr int kPathWidth = 2;
constexpr int kEndMarkSide = 4;

// The picture of every catalogue entry, from the art its bitmap is generated from.
const std::array<RgbImage, kBlockCount>& blockPictures() {
    static const std::array<RgbImage, kBlockCount> pictures = [] {
        std::array<RgbImage, kBlockCount> all;
        for (int k = 0; k < kBlockCount; ++k) {
            all[k] = RgbImage(kCellPixels, kCellPixels, kWhite);
            const BlockArt* art = builtInBlockArtOfCode(block[k].code);
            for (int i = 0; art && i < kBlockArtSide * kBlockArtSide; ++i) {
                const MsxColour& c = kMsxColours[art->pixels[i]];
                all[k].set(i % kBlockArtSide, i / kBlockArtSide, {c.red, c.green, c.blue});
            }
        }
        return all;
    }();
    return pictures;
}

void drawCells(const Level& level, RgbImage& grid) {
    const std::array<RgbImage, kBlockCount>& pictures = blockPictures();
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            const int k = blockIndexOfCode(level.cell(col, row));
            if (k >= 0)
                grid.paste(pictures[k], col * kCellPixels, row * kCellPixels);
        }
    }
}

void drawThickPoint(RgbImage& grid, int x, int y, Rgb colour) {
    grid.fill(x, y, kPathWidth, kPathWidth, colour);
}

// A straight line of kPathWidth-pixel squares, Bresenham's way.
void drawPath(RgbImage& grid, int x0, int y0, int x1, int y1, Rgb colour) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        drawThickPoint(grid, x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

// The number on a tag of the path's colour, centred on the start.
void drawMonsterNumber(RgbImage& grid, int k, int x, int y) {
    const int tagWidth = kGlyphWidth + 4, tagHeight = kGlyphHeight + 4;
    const int left = x - tagWidth / 2, top = y - tagHeight / 2;
    grid.fill(left, top, tagWidth, tagHeight, monsterPathColour(k));
    drawText(grid, left + 2, top + 2, std::to_string(k + 1), kBlack, 1);
}

void drawMonsters(const Level& level, RgbImage& grid) {
    for (int k = 0; k < kMonsterCount; ++k) {
        if (level.monster(k, kMonsterType) == kUnusedMonsterType)
            continue;
        const int x0 = monsterPixelX(level.monster(k, kMonsterStartX), kCellPixels);
        const int y0 = monsterPixelY(level.monster(k, kMonsterStartY), kCellPixels);
        const int x1 = monsterPixelX(level.monster(k, kMonsterEndX), kCellPixels);
        const int y1 = monsterPixelY(level.monster(k, kMonsterEndY), kCellPixels);
        drawPath(grid, x0, y0, x1, y1, monsterPathColour(k));
        grid.fill(x1 - kEndMarkSide / 2, y1 - kEndMarkSide / 2, kEndMarkSide, kEndMarkSide,
                  monsterPathColour(k));
    }
    // Numbers go on top of every path, so a crossing path cannot hide one.
    for (int k = 0; k < kMonsterCount; ++k)
        if (level.monster(k, kMonsterType) != kUnusedMonsterType)
            drawMonsterNumber(grid, k, monsterPixelX(level.monster(k, kMonsterStartX), kCellPixels),
                              monsterPixelY(level.monster(k, kMonsterStartY), kCellPixels));
}

} // namespace

Rgb monsterPathColour(int k) {
    static constexpr Rgb kColours[kMonsterCount] = {
        {0xFF, 0x30, 0x30}, {0x30, 0xE0, 0x30}, {0x30, 0x90, 0xFF}, {0xFF, 0xD0, 0x00}};
    return kColours[k & 3];
}

const RgbImage& blockPicture(std::int32_t code) {
    static const RgbImage kNoBlock(kCellPixels, kCellPixels, kWhite);
    const int k = blockIndexOfCode(code);
    return k >= 0 ? blockPictures()[k] : kNoBlock;
}

RgbImage renderLevelGrid(const Level& level) {
    RgbImage grid(kGridWidth, kGridHeight, kWhite);
    drawCells(level, grid);
    drawMonsters(level, grid);
    return grid;
}

RgbImage renderLevel(const Level& level, int scale) {
    RgbImage picture(kGridWidth, kGridHeight + kTitleBandHeight, kBlack);
    picture.paste(renderLevelGrid(level), 0, 0);
    const std::string title = titleBytes(level);
    const int left = (kGridWidth - textWidth(title, kTitleScale)) / 2;
    const int top = kGridHeight + (kTitleBandHeight - kLineHeight * kTitleScale) / 2 + 1;
    drawText(picture, left, top, title, kWhite, kTitleScale);
    return scale > 1 ? picture.enlarged(scale) : picture;
}
