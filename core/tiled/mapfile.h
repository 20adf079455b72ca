#pragma once
// Tiled map files of levels, in either of Tiled's formats: TMX (XML) and JSON (.tmj, .json).
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"
#include "core/tiled/levelmap.h"

enum class MapFormat { Tmx, Json };

// The map file of `level`. The blocks' tileset is named as the file tomkrin-blocks.tsx beside the
// map, or with `embedTileset` held inside the map (its picture is still tomkrin-blocks.png beside
// it). The unknown codes' tileset is always inside.
std::string writeLevelMap(const Level& level, MapFormat format, bool embedTileset);

// Reads a map file (either format, told apart by its first character) into a level. False with
// one line in `error` saying what is wrong and where.
bool readLevelMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                  Level& level, std::string& error);

// The format-specific halves, each filling `map` with what the file says.
bool readTmxMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                TiledMap& map, std::string& error);
bool readJsonMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                 TiledMap& map, std::string& error);
std::string writeTmxMap(const Level& level, bool embedTileset);
std::string writeJsonMap(const Level& level, bool embedTileset);
bool readTsxTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                    std::string& error);
bool readJsonTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                     std::string& error);

// The path of a file a map names (a tileset, a picture): beside the map unless the name is
// absolute.
std::string pathBesideMap(const std::string& map, const std::string& name);

// A tileset a map names by its file: read through `loader` and parsed as TSX or JSON.
bool readExternalTileset(const std::string& source, const TilesetLoader& loader,
                         MapTileset& tileset, std::string& error);

// Where a tile's `code` property is read into a tileset: its value, or why it is no number.
void noteTileCode(MapTileset& tileset, unsigned id, const std::string& value);
