#pragma once
// The tilesets of an exported map. The 45 blocks are one tileset, tomkrin-blocks.tsx with its
// picture tomkrin-blocks.png (9 x 5 tiles of 16 x 16, in catalogue order), the same two files for
// every level; each tile has the int property `code` and the string property `name`. Codes that no
// block has get tiles of an image-collection tileset kept inside the map, each with its `code` and
// its own picture tomkrin-unknown-HH.png: white, a red frame and the code in hexadecimal.
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"

constexpr int kMapTilePixels = 16;
constexpr int kBlockTilesetColumns = 9;
extern const char* const kBlockTilesetFile;  // "tomkrin-blocks.tsx"
extern const char* const kBlockTilesetImage; // "tomkrin-blocks.png"
extern const char* const kBlockTilesetName;  // "tomkrin-blocks"
extern const char* const kUnknownTilesetName;

// The first tile number (gid) of the unknown codes' tileset: right after the 45 blocks.
constexpr unsigned kFirstUnknownGid = 46;

// The text of tomkrin-blocks.tsx.
std::string blockTilesetTsx();
// The bytes of tomkrin-blocks.png.
std::vector<std::uint8_t> blockTilesetPng();

// Every code of a cell that no block has, but 0 (an empty tile), in increasing order.
std::vector<int> unknownCodesOf(const Level& level);
// "tomkrin-unknown-3F.png" and its bytes.
std::string unknownTileImageName(int code);
std::vector<std::uint8_t> unknownTilePng(int code);
