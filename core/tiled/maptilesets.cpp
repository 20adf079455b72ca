#include "core/tiled/maptilesets.h"

#include <cstdio>
#include <set>
#include <sstream>

#include <pugixml.hpp>

#include "core/level/blockcatalog.h"
#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"
#include "core/picture/titletext.h"
#include "core/tiled/tmxproperty.h"

const char* const kBlockTilesetFile = "tomkrin-blocks.tsx";
const char* const kBlockTilesetImage = "tomkrin-blocks.png";
const char* const kBlockTilesetName = "tomkrin-blocks";
const char* const kUnknownTilesetName = "tomkrin-unknown";

namespace {

constexpr int kBlockTilesetRows = (kBlockCount + kBlockTilesetColumns - 1) / kBlockTilesetColumns;
// A block's tile is the picture the rendered grid shows for it.
static_assert(kMapTilePixels == kCellPixels, "a tile and a grid cell are one size");

} // namespace

std::string blockTilesetTsx() {
    pugi::xml_document document;
    pugi::xml_node tileset = document.append_child("tileset");
    tileset.append_attribute("version") = "1.8";
    tileset.append_attribute("name") = kBlockTilesetName;
    tileset.append_attribute("tilewidth") = kMapTilePixels;
    tileset.append_attribute("tileheight") = kMapTilePixels;
    tileset.append_attribute("tilecount") = kBlockCount;
    tileset.append_attribute("columns") = kBlockTilesetColumns;
    pugi::xml_node image = tileset.append_child("image");
    image.append_attribute("source") = kBlockTilesetImage;
    image.append_attribute("width") = kBlockTilesetColumns * kMapTilePixels;
    image.append_attribute("height") = kBlockTilesetRows * kMapTilePixels;
    for (int k = 0; k < kBlockCount; ++k) {
        pugi::xml_node tile = tileset.append_child("tile");
        tile.append_attribute("id") = k;
        pugi::xml_node properties = tile.append_child("properties");
        addTmxProperty(properties, "code", "int", std::to_string(block[k].code));
        addTmxProperty(properties, "name", nullptr, block[k].name);
    }
    std::ostringstream text;
    document.save(text, " ", pugi::format_default | pugi::format_no_declaration);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + text.str();
}

std::vector<std::uint8_t> blockTilesetPng() {
    RgbImage sheet(kBlockTilesetColumns * kMapTilePixels, kBlockTilesetRows * kMapTilePixels,
                   {0xFF, 0xFF, 0xFF});
    for (int k = 0; k < kBlockCount; ++k)
        sheet.paste(blockPicture(block[k].code), (k % kBlockTilesetColumns) * kMapTilePixels,
                    (k / kBlockTilesetColumns) * kMapTilePixels);
    return encodePng(sheet);
}

std::vector<int> unknownCodesOf(const Level& level) {
    std::set<int> codes;
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row) {
            const int code = level.cell(col, row) & 0xFF;
            if (code != 0 && blockIndexOfCode(code) < 0)
                codes.insert(code);
        }
    return std::vector<int>(codes.begin(), codes.end());
}

std::string unknownTileImageName(int code) {
    char name[32];
    std::snprintf(name, sizeof name, "tomkrin-unknown-%02X.png", static_cast<unsigned>(code));
    return name;
}

std::vector<std::uint8_t> unknownTilePng(int code) {
    constexpr Rgb kRed = {0xE0, 0x00, 0x00};
    RgbImage tile(kMapTilePixels, kMapTilePixels, kRed);
    tile.fill(2, 2, kMapTilePixels - 4, kMapTilePixels - 4, {0xFF, 0xFF, 0xFF});
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(code & 0xFF));
    const int width = textWidth(digits, 1);
    drawText(tile, (kMapTilePixels - width) / 2, (kMapTilePixels - kLineHeight) / 2 + 1, digits,
             {0x00, 0x00, 0x00}, 1);
    return encodePng(tile);
}
