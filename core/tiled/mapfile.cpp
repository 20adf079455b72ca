#include "core/tiled/mapfile.h"

#include <cctype>

namespace {

bool looksLikeJson(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (!std::isspace(data[i]))
            return data[i] == '{';
    return false;
}

} // namespace

std::string writeLevelMap(const Level& level, MapFormat format, bool embedTileset) {
    return format == MapFormat::Json ? writeJsonMap(level, embedTileset)
                                     : writeTmxMap(level, embedTileset);
}

bool readLevelMap(const std::uint8_t* data, std::size_t size, const TilesetLoader& loader,
                  Level& level, std::string& error) {
    TiledMap map;
    const bool read = looksLikeJson(data, size) ? readJsonMap(data, size, loader, map, error)
                                                : readTmxMap(data, size, loader, map, error);
    return read && levelFromMap(map, level, error);
}

bool readExternalTileset(const std::string& source, const TilesetLoader& loader,
                         MapTileset& tileset, std::string& error) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!loader || !loader(source, bytes, why)) {
        error = "tileset " + textForMessage(source) + ": cannot be read" +
                (why.empty() ? "" : ": " + why);
        return false;
    }
    tileset.name = source;
    const bool read = looksLikeJson(bytes.data(), bytes.size())
                          ? readJsonTileset(bytes.data(), bytes.size(), tileset, error)
                          : readTsxTileset(bytes.data(), bytes.size(), tileset, error);
    if (!read)
        error = "tileset " + textForMessage(source) + ": " + error;
    return read;
}

void noteTileCode(MapTileset& tileset, unsigned id, const std::string& value) {
    std::size_t i = value.size() > 1 && value[0] == '-' ? 1 : 0;
    bool whole = i < value.size() && value.size() - i <= 12;
    for (std::size_t j = i; whole && j < value.size(); ++j)
        whole = std::isdigit(static_cast<unsigned char>(value[j])) != 0;
    if (whole)
        tileset.codes[id] = std::stoll(value);
    else
        tileset.badCode[id] = "is " + quotedForMessage(value) + ", not a whole number";
}

std::string pathBesideMap(const std::string& map, const std::string& name) {
    const bool absolute = (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
                          (name.size() > 1 && name[1] == ':');
    const std::size_t slash = map.find_last_of("/\\");
    return absolute || slash == std::string::npos ? name : map.substr(0, slash + 1) + name;
}
