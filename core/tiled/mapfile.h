#pragma once
// Tiled map files of levels, in either of Tiled's formats: TMX (XML) and JSON (.tmj, .json). The
// entry that picks the format's reader or writer (tmxmap.h, jsonmap.h), reads the tilesets a map
// names by their file, and has the map judged (tiledmap.h).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/level/level.h"
#include "core/tiled/levelmap.h"

enum class MapFormat { Tmx, Json };

// Reads an external tileset a map names (its `source`, relative to the map's folder) into
// `bytes`; false with the reason in `why`.
using TilesetLoader = std::function<bool(const std::string& source,
                                         std::vector<std::uint8_t>& bytes, std::string& why)>;

// The map file of `level`. The blocks' tileset is named as the file tomkrin-blocks.tsx beside the
// map, or with `embedTileset` held inside the map (its picture is still tomkrin-blocks.png beside
// it). The unknown codes' tileset is always inside.
std::string writeLevelMap(const Level& level, MapFormat format, bool embedTileset);

// Reads a map file (either format, told apart by its first character) into a level. False with
// one line in `error` saying what is wrong and where.
bool readLevelMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                  Level& level, std::string& error);

// The same, the file read as `format` whatever its first character.
bool readLevelMapAs(MapFormat format, const std::uint8_t* data, std::size_t size,
                    const TilesetLoader& loader, Level& level, std::string& error);

// A file an exported map needs beside it, by its name there.
struct MapSideFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The files the map of `level` needs beside it: the blocks' tileset picture, its .tsx unless
// `embedTileset`, and the picture of each code no block has. The blocks' files are the same bytes
// for every level, so many maps share one folder.
std::vector<MapSideFile> mapSideFiles(const Level& level, bool embedTileset);

// Why the level file `bytes` could not come back byte for byte from a map (a map keeps the 493
// bytes of a level file, 0xFE first), or empty when it can.
std::string levelFileLostInMap(const std::vector<std::uint8_t>& bytes);

// The path of a file a map names (a tileset, a picture): beside the map unless the name is
// absolute.
std::string pathBesideMap(const std::string& map, const std::string& name);
