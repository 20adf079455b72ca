#pragma once
// Tiled's JSON formats: the map (.tmj, .json) and the tileset (.tsj, .json).
#include <cstdint>
#include <string>

#include "core/level/level.h"
#include "core/tiled/tiledmap.h"

std::string writeJsonMap(const Level& level, bool embedTileset);

// What a JSON map says, into `map`; the tilesets it names by their file are left for the caller
// to read. False with one line in `error` when it is no JSON map.
bool readJsonMap(const std::uint8_t* data, std::size_t size, TiledMap& map, std::string& error);

// A JSON tileset file: its tile count and tiles, into `tileset`.
bool readJsonTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                     std::string& error);
