#pragma once
// Tiled's XML formats: the map (.tmx) and the tileset (.tsx).
#include <cstdint>
#include <string>

#include "core/level/level.h"
#include "core/tiled/tiledmap.h"

std::string writeTmxMap(const Level& level, bool embedTileset);

// What a TMX map says, into `map`; the tilesets it names by their file are left for the caller to
// read. False with one line in `error` when it is no TMX map.
bool readTmxMap(const std::uint8_t* data, std::size_t size, TiledMap& map, std::string& error);

// A TSX tileset file: its tile count and tiles, into `tileset`.
bool readTsxTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                    std::string& error);
