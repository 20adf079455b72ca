#include "core/tiled/tiledmap.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "core/tiled/layerdata.h"
#include "core/tiled/levelmap.h"
#include "core/tiled/maptilesets.h"
#include "core/tiled/maptitle.h"

namespace {

constexpr std::size_t kMapTiles = static_cast<std::size_t>(kColumns * kRows);
constexpr std::int64_t kLargestAddress = 0xFFFF;
constexpr std::int64_t kLargestByte = 0xFF;
// The largest tile number beside Tiled's flag bits: the bound of a first gid, a tile count and a
// tile id.
constexpr std::int64_t kLargestTileNumber = ~kGidFlagBits;

// A whole number: an optional minus and at most 12 decimal digits, far beyond any field, near
// enough to print.
bool parseWhole(const std::string& text, std::int64_t& value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    if (i == text.size() || text.size() - i > 12)
        return false;
    value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    return true;
}

// A whole number of the map's structure; one that is left out or no whole number reads as 0.
std::int64_t wholeOrZero(const MapNumber& text) {
    std::int64_t value = 0;
    return parseWhole(text, value) ? value : 0;
}

// A first gid or a tile count: 0 (none) unless within 1 to the largest tile number.
std::uint32_t tileNumberOrZero(const MapNumber& text) {
    const std::int64_t value = wholeOrZero(text);
    return value > 0 && value <= kLargestTileNumber ? static_cast<std::uint32_t>(value) : 0;
}

// A coordinate: one that is left out is 0; otherwise the whole text is a number.
bool parseCoordinate(const std::string& text, double& value) {
    value = 0;
    if (text.empty())
        return true;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && end == text.c_str() + text.size();
}

bool parsePoint(const std::string& where, const std::string& point, double& x, double& y,
                std::string& error) {
    const std::size_t comma = point.find(',');
    if (comma == std::string::npos || !parseCoordinate(point.substr(0, comma), x) ||
        !parseCoordinate(point.substr(comma + 1), y)) {
        error = where + ": the point " + quotedForMessage(point) + " is not x,y";
        return false;
    }
    return true;
}

const MapProperty* findProperty(const std::vector<MapProperty>& properties,
                                const std::string& name) {
    for (const MapProperty& property : properties)
        if (property.name == name)
            return &property;
    return nullptr;
}

// The whole number a property holds; `where` names its owner in messages.
bool wholeProperty(const MapProperty& property, const std::string& where, std::int64_t& value,
                   std::string& error) {
    if (parseWhole(property.value, value))
        return true;
    error = where + ": property " + property.name + " is " + quotedForMessage(property.value) +
            ", not a whole number";
    return false;
}

// An int property within 0 to `largest`; `where` names its owner in messages.
bool intProperty(const std::vector<MapProperty>& properties, const std::string& name,
                 std::int64_t largest, const std::string& where, std::int64_t& value,
                 std::string& error) {
    const MapProperty* property = findProperty(properties, name);
    if (!property) {
        error = where + ": no int property " + name;
        return false;
    }
    if (!wholeProperty(*property, where, value, error))
        return false;
    if (value < 0 || value > largest) {
        error = where + ": property " + name + " is " + std::to_string(value) + ", outside 0 to " +
                std::to_string(largest);
        return false;
    }
    return true;
}

// A tileset as the cells read it.
struct CellTileset {
    std::uint32_t firstGid = 0;
    std::uint32_t tileCount = 0; // 0 when the tileset does not say
    std::string name;
    std::map<std::uint32_t, const MapProperty*> codes; // tile id -> its property `code`
};

std::vector<CellTileset> cellTilesets(const TiledMap& map) {
    std::vector<CellTileset> tilesets;
    for (const MapTileset& tileset : map.tilesets) {
        CellTileset read;
        read.firstGid = tileNumberOrZero(tileset.firstGid);
        read.tileCount = tileNumberOrZero(tileset.tileCount);
        read.name = tileset.name;
        for (const MapTile& tile : tileset.tiles) {
            const std::int64_t id = wholeOrZero(tile.id);
            if (id < 0 || id > kLargestTileNumber)
                continue;
            for (const MapProperty& property : tile.properties)
                if (property.name == "code")
                    read.codes[static_cast<std::uint32_t>(id)] = &property;
        }
        tilesets.push_back(read);
    }
    return tilesets;
}

const MapLayer* findLayer(const TiledMap& map, bool tiles, const char* name) {
    for (const MapLayer& layer : map.layers)
        if (layer.tiles == tiles && layer.name == name)
            return &layer;
    return nullptr;
}

std::string cellPlace(std::size_t i) {
    return std::string("layer ") + kCellsLayerName + ", row " + std::to_string(i / kColumns) +
           ", column " + std::to_string(i % kColumns);
}

// The tile numbers of the cells layer, row by row, whatever form its data has.
bool cellGids(const MapLayer& layer, std::vector<std::uint32_t>& gids, std::string& error) {
    const std::string where = std::string("layer ") + kCellsLayerName + ": ";
    if (!layer.hasData) {
        error = where + "no tile data";
        return false;
    }
    if (layer.encoded &&
        !decodeLayerData(layer.text, layer.encoding, layer.compression, kMapTiles, gids, error)) {
        error = where + error;
        return false;
    }
    const std::size_t count = layer.encoded ? gids.size() : layer.gids.size();
    if (count != kMapTiles) {
        error = where + std::to_string(count) + " tiles, a 24 x 18 map has 432";
        return false;
    }
    if (layer.encoded)
        return true;
    gids.clear();
    for (std::size_t i = 0; i < kMapTiles; ++i) {
        // A tile left without a number is empty.
        const MapNumber& text = layer.gids[i];
        std::uint32_t gid = 0;
        if (!text.empty() && readGid(text, 0, gid) != text.size()) {
            error = cellPlace(i) + ": the tile data holds " + quotedForMessage(text) +
                    " where a tile number belongs";
            return false;
        }
        gids.push_back(gid);
    }
    return true;
}

bool cellCode(const std::vector<CellTileset>& tilesets, std::uint32_t gid, std::size_t i,
              std::int32_t& code, std::string& error) {
    if (gid & kGidFlagBits) {
        error = cellPlace(i) + ": a flipped or rotated tile (Tiled's flag bits); blocks have "
                               "one orientation";
        return false;
    }
    if (gid == 0) {
        code = 0;
        return true;
    }
    const CellTileset* owner = nullptr;
    for (const CellTileset& tileset : tilesets)
        if (tileset.firstGid <= gid && (!owner || tileset.firstGid > owner->firstGid))
            owner = &tileset;
    if (!owner || (owner->tileCount > 0 && gid - owner->firstGid >= owner->tileCount)) {
        error = cellPlace(i) + ": tile number " + std::to_string(gid) + " is in no tileset";
        return false;
    }
    const std::uint32_t id = gid - owner->firstGid;
    const std::string tile =
        "tile " + std::to_string(id) + " of tileset " + textForMessage(owner->name);
    const auto found = owner->codes.find(id);
    if (found == owner->codes.end()) {
        error = cellPlace(i) + ": " + tile + " has no int property code";
        return false;
    }
    std::int64_t value = 0;
    if (!wholeProperty(*found->second, cellPlace(i) + ": " + tile, value, error))
        return false;
    if (value < 0 || value > kLargestByte) {
        error = cellPlace(i) + ": " + tile + " has code " + std::to_string(value) +
                ", outside 0 to 255";
        return false;
    }
    code = static_cast<std::int32_t>(value);
    return true;
}

bool monsterPosition(const std::string& where, const char* which, double x, double y,
                     std::int32_t& monsterX, std::int32_t& monsterY, std::string& error) {
    const long long mx = monsterXOfPixel(x), my = monsterYOfPixel(y);
    for (const auto& [axis, value] : {std::pair<const char*, long long>{"x", mx}, {"y", my}}) {
        if (value < 0 || value > kLargestByte) {
            error = where + ": its " + which + " lies at " + axis + " = " + std::to_string(value) +
                    " in monster coordinates, outside 0 to 255";
            return false;
        }
    }
    monsterX = static_cast<std::int32_t>(mx);
    monsterY = static_cast<std::int32_t>(my);
    return true;
}

bool readMonster(const MapLayer& layer, int k, Level& level, std::string& error) {
    const std::string name = "monster " + std::to_string(k + 1);
    const std::string where = std::string("layer ") + kMonstersLayerName + ", " + name;
    const MapObject* object = nullptr;
    for (const MapObject& candidate : layer.objects)
        if (candidate.name == name) {
            object = &candidate;
            break;
        }
    if (!object) {
        error = std::string("layer ") + kMonstersLayerName + ": no object named " + name;
        return false;
    }
    // The polyline's points lie relative to the object's position.
    double x = 0, y = 0;
    std::vector<std::pair<double, double>> points;
    if (!parsePoint(where, object->x + "," + object->y, x, y, error))
        return false;
    for (const std::string& text : object->polyline) {
        double pointX = 0, pointY = 0;
        if (!parsePoint(where, text, pointX, pointY, error))
            return false;
        points.emplace_back(x + pointX, y + pointY);
    }
    if (!object->hasPolyline || points.size() < 2) {
        error = where + ": not a polyline from its start to its end";
        return false;
    }
    if (!monsterPosition(where, "start", points.front().first, points.front().second,
                         level.monster(k, kMonsterStartX), level.monster(k, kMonsterStartY),
                         error) ||
        !monsterPosition(where, "end", points.back().first, points.back().second,
                         level.monster(k, kMonsterEndX), level.monster(k, kMonsterEndY), error))
        return false;
    const std::pair<const char*, MonsterField> fields[] = {
        {"direction", kMonsterDirection}, {"type", kMonsterType}, {"colour", kMonsterColor}};
    for (const auto& [property, field] : fields) {
        std::int64_t value = 0;
        if (!intProperty(object->properties, property, kLargestByte, where, value, error))
            return false;
        level.monster(k, field) = static_cast<std::int32_t>(value);
    }
    return true;
}

bool readHeader(const TiledMap& map, Level& level, std::string& error) {
    const MapProperty* title = findProperty(map.properties, "title");
    if (!title) {
        error = "no map property title";
        return false;
    }
    if (!unescapeMapTitle(title->value, level, error))
        return false;
    const std::pair<const char*, int> fields[] = {{"startAddress", 0},
                                                  {"endAddress", 1},
                                                  {"execAddress", 2},
                                                  {"manStartX", kManStartXSlot},
                                                  {"manStartY", kManStartYSlot}};
    for (const auto& [name, slot] : fields) {
        std::int64_t value = 0;
        const std::int64_t largest = slot < 3 ? kLargestAddress : kLargestByte;
        if (!intProperty(map.properties, name, largest, "map", value, error))
            return false;
        level.slots[slot] = static_cast<std::int32_t>(value);
    }
    return true;
}

// Orientation, infinity, width and height and tile size.
bool checkMapShape(const TiledMap& map, std::string& error) {
    if (map.orientation != "orthogonal") {
        error = (map.orientation.empty() ? std::string("a map without an orientation")
                                         : "an " + textForMessage(map.orientation) + " map") +
                "; a level is an orthogonal map";
        return false;
    }
    if (map.infinite) {
        error = "an infinite map; a level is a fixed map of 24 x 18 tiles";
        return false;
    }
    const std::int64_t width = wholeOrZero(map.width), height = wholeOrZero(map.height);
    if (width != kColumns || height != kRows) {
        error = "a map of " + std::to_string(width) + " x " + std::to_string(height) +
                " tiles; a level is 24 x 18";
        return false;
    }
    const std::int64_t tileWidth = wholeOrZero(map.tileWidth);
    const std::int64_t tileHeight = wholeOrZero(map.tileHeight);
    if (tileWidth != kMapTilePixels || tileHeight != kMapTilePixels) {
        error = "tiles of " + std::to_string(tileWidth) + " x " + std::to_string(tileHeight) +
                " pixels; a level's are 16 x 16";
        return false;
    }
    return true;
}

} // namespace

bool levelFromMap(const TiledMap& map, Level& level, std::string& error) {
    level = Level{};
    if (!checkMapShape(map, error))
        return false;
    const MapLayer* cells = findLayer(map, true, kCellsLayerName);
    if (!cells) {
        error = std::string("no tile layer named ") + kCellsLayerName;
        return false;
    }
    std::vector<std::uint32_t> gids;
    if (!cellGids(*cells, gids, error) || !readHeader(map, level, error))
        return false;
    const std::vector<CellTileset> tilesets = cellTilesets(map);
    for (std::size_t i = 0; i < gids.size(); ++i)
        if (!cellCode(tilesets, gids[i], i,
                      level.cell(static_cast<int>(i % kColumns), static_cast<int>(i / kColumns)),
                      error))
            return false;
    const MapLayer* monsters = findLayer(map, false, kMonstersLayerName);
    if (!monsters) {
        error = std::string("no object layer named ") + kMonstersLayerName;
        return false;
    }
    for (int k = 0; k < kMonsterCount; ++k)
        if (!readMonster(*monsters, k, level, error))
            return false;
    return true;
}
