#include "core/tiled/levelmap.h"

#include <cctype>

#include "core/level/blockcatalog.h"
#include "core/tiled/maptilesets.h"

const char* const kCellsLayerName = "cells";
const char* const kMonstersLayerName = "monsters";

namespace {

// Far enough out to be refused, near enough to round and print.
constexpr double kFarthestPixel = 1e6;

double nearPixel(double pixel) {
    if (!(pixel > -kFarthestPixel && pixel < kFarthestPixel))
        return pixel > 0 ? kFarthestPixel : -kFarthestPixel;
    return pixel;
}

bool endsWith(const std::string& path, const char* suffix) {
    const std::string tail(suffix);
    if (path.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - tail.size() + i])) !=
            tail[i])
            return false;
    return true;
}

} // namespace

std::uint32_t exportedGid(const Level& level, int col, int row,
                          const std::vector<int>& unknownCodes) {
    const int code = level.cell(col, row) & 0xFF;
    if (code == 0)
        return 0;
    const int k = blockIndexOfCode(code);
    if (k >= 0)
        return static_cast<std::uint32_t>(k + 1);
    for (std::size_t i = 0; i < unknownCodes.size(); ++i)
        if (unknownCodes[i] == code)
            return kFirstUnknownGid + static_cast<std::uint32_t>(i);
    return 0;
}

double mapPixelX(int x) {
    return monsterPixelX(x, kMapTilePixels);
}
double mapPixelY(int y) {
    return monsterPixelY(y, kMapTilePixels);
}
long long monsterXOfPixel(double x) {
    return monsterXAtPixel(nearPixel(x), kMapTilePixels);
}
long long monsterYOfPixel(double y) {
    return monsterYAtPixel(nearPixel(y), kMapTilePixels);
}

std::string textForMessage(const std::string& text) {
    constexpr std::size_t kLongest = 40;
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c <= 0x7E && c != '"' && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            static const char kDigits[] = "0123456789ABCDEF";
            shown += std::string("\\x") + kDigits[c >> 4] + kDigits[c & 15];
        }
    }
    return text.size() > kLongest ? shown + "..." : shown;
}

std::string quotedForMessage(const std::string& text) {
    return "\"" + textForMessage(text) + "\"";
}

bool isMapFileName(const std::string& path) {
    return endsWith(path, ".tmx") || isJsonMapFileName(path);
}
bool isJsonMapFileName(const std::string& path) {
    return endsWith(path, ".tmj") || endsWith(path, ".json");
}
