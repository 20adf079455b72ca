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

// The path of a file a map names (a tileset, a picture): beside the map unless the name is
// absolute.
std::string pathBesideMap(const std::string& map, const std::string& name);
