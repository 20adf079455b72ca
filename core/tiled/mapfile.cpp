#include "core/tiled/mapfile.h"

#include <cctype>

#include "core/level/levelcodec.h"
#include "core/tiled/jsonmap.h"
#include "core/tiled/maptilesets.h"
#include "core/tiled/tiledmap.h"
#include "core/tiled/tmxmap.h"

namespace {

// Tiled's JSON files are one object; its XML files start otherwise.
MapFormat formatOf(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (!std::isspace(data[i]))
            return data[i] == '{' ? MapFormat::Json : MapFormat::Tmx;
    return MapFormat::Tmx;
}

// A tileset a map names by its file: read through `loader` and parsed as TSX or JSON.
bool readExternalTileset(const TilesetLoader& loader, MapTileset& tileset, std::string& error) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!loader || !loader(tileset.source, bytes, why)) {
        error = "tileset " + textForMessage(tileset.source) + ": cannot be read" +
                (why.empty() ? "" : ": " + why);
        return false;
    }
    const bool read = formatOf(bytes.data(), bytes.size()) == MapFormat::Json
                          ? readJsonTileset(bytes.data(), bytes.size(), tileset, error)
                          : readTsxTileset(bytes.data(), bytes.size(), tileset, error);
    if (!read)
        error = "tileset " + textForMessage(tileset.source) + ": " + error;
    return read;
}

} // namespace

std::string writeLevelMap(const Level& level, MapFormat format, bool embedTileset) {
    return format == MapFormat::Json ? writeJsonMap(level, embedTileset)
                                     : writeTmxMap(level, embedTileset);
}

bool readLevelMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                  Level& level, std::string& error) {
    return readLevelMapAs(formatOf(data, size), data, size, loader, level, error);
}

bool readLevelMapAs(MapFormat format, const std::uint8_t* data, std::size_t size,
                    const TilesetLoader& loader, Level& level, std::string& error) {
    TiledMap map;
    if (!(format == MapFormat::Json ? readJsonMap(data, size, map, error)
                                    : readTmxMap(data, size, map, error)))
        return false;
    for (MapTileset& tileset : map.tilesets)
        if (tileset.external && !readExternalTileset(loader, tileset, error))
            return false;
    return levelFromMap(map, level, error);
}

std::string pathBesideMap(const std::string& map, const std::string& name) {
    const bool absolute = (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
                          (name.size() > 1 && name[1] == ':');
    const std::size_t slash = map.find_last_of("/\\");
    return absolute || slash == std::string::npos ? name : map.substr(0, slash + 1) + name;
}

std::vector<MapSideFile> mapSideFiles(const Level& level, bool embedTileset) {
    std::vector<MapSideFile> files = {{kBlockTilesetImage, blockTilesetPng()}};
    if (!embedTileset) {
        const std::string tsx = blockTilesetTsx();
        files.push_back({kBlockTilesetFile, std::vector<std::uint8_t>(tsx.begin(), tsx.end())});
    }
    for (const int code : unknownCodesOf(level))
        files.push_back({unknownTileImageName(code), unknownTilePng(code)});
    return files;
}

std::string levelFileLostInMap(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != kLevelFileSize)
        return std::to_string(bytes.size()) +
               " bytes long; a map keeps the 493 bytes of a level file, and the rest would be lost";
    if (bytes[0] != kBloadId)
        return "its first byte is not 0xFE; a map keeps the level, not that byte";
    return "";
}
