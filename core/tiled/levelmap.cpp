#include "core/tiled/levelmap.h"

#include <cctype>

#include "core/level/blockcatalog.h"
#include "core/tiled/maptilesets.h"
#include "core/tiled/maptitle.h"

const char* const kCellsLayerName = "cells";
const char* const kMonstersLayerName = "monsters";

namespace {

constexpr std::int64_t kLargestAddress = 0xFFFF;
constexpr std::int64_t kLargestByte = 0xFF;
// Far enough out to be refused, near enough to round and print.
constexpr double kFarthestPixel = 1e6;

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

const MapProperty* findProperty(const std::vector<MapProperty>& properties,
                                const std::string& name) {
    for (const MapProperty& property : properties)
        if (property.name == name)
            return &property;
    return nullptr;
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
    if (!parseWhole(property->value, value)) {
        error = where + ": property " + name + " is " + quotedForMessage(property->value) +
                ", not a whole number";
        return false;
    }
    if (value < 0 || value > largest) {
        error = where + ": property " + name + " is " + std::to_string(value) + ", outside 0 to " +
                std::to_string(largest);
        return false;
    }
    return true;
}

std::string cellPlace(std::size_t i) {
    return std::string("layer ") + kCellsLayerName + ", row " + std::to_string(i / kColumns) +
           ", column " + std::to_string(i % kColumns);
}

bool cellCode(const TiledMap& map, std::size_t i, std::int32_t& code, std::string& error) {
    const std::uint32_t gid = map.cells[i];
    if (gid & kGidFlagBits) {
        error = cellPlace(i) + ": a flipped or rotated tile (Tiled's flag bits); blocks have "
                               "one orientation";
        return false;
    }
    if (gid == 0) {
        code = 0;
        return true;
    }
    const MapTileset* owner = nullptr;
    for (const MapTileset& tileset : map.tilesets)
        if (tileset.firstGid <= gid && (!owner || tileset.firstGid > owner->firstGid))
            owner = &tileset;
    if (!owner || (owner->tileCount > 0 && gid - owner->firstGid >= owner->tileCount)) {
        error = cellPlace(i) + ": tile number " + std::to_string(gid) + " is in no tileset";
        return false;
    }
    const unsigned id = gid - owner->firstGid;
    const std::string tile =
        "tile " + std::to_string(id) + " of tileset " + textForMessage(owner->name);
    const auto bad = owner->badCode.find(id);
    if (bad != owner->badCode.end()) {
        error = cellPlace(i) + ": " + tile + ": property code " + bad->second;
        return false;
    }
    const auto found = owner->codes.find(id);
    if (found == owner->codes.end()) {
        error = cellPlace(i) + ": " + tile + " has no int property code";
        return false;
    }
    if (found->second < 0 || found->second > kLargestByte) {
        error = cellPlace(i) + ": " + tile + " has code " + std::to_string(found->second) +
                ", outside 0 to 255";
        return false;
    }
    code = static_cast<std::int32_t>(found->second);
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

bool readMonster(const TiledMap& map, int k, Level& level, std::string& error) {
    const std::string name = "monster " + std::to_string(k + 1);
    const std::string where = std::string("layer ") + kMonstersLayerName + ", " + name;
    const MapObject* object = nullptr;
    for (const MapObject& candidate : map.monsters)
        if (candidate.name == name) {
            object = &candidate;
            break;
        }
    if (!object) {
        error = std::string("layer ") + kMonstersLayerName + ": no object named " + name;
        return false;
    }
    if (!object->hasPolyline || object->polyline.size() < 2) {
        error = where + ": not a polyline from its start to its end";
        return false;
    }
    const MapPoint& start = object->polyline.front();
    const MapPoint& end = object->polyline.back();
    if (!monsterPosition(where, "start", object->x + start.x, object->y + start.y,
                         level.monster(k, kMonsterStartX), level.monster(k, kMonsterStartY),
                         error) ||
        !monsterPosition(where, "end", object->x + end.x, object->y + end.y,
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

double nearPixel(double pixel) {
    if (!(pixel > -kFarthestPixel && pixel < kFarthestPixel))
        return pixel > 0 ? kFarthestPixel : -kFarthestPixel;
    return pixel;
}

bool endsWith(const std::string& path, const char* suffix) {
    const std::string tail(suffix);
    if (path.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - tail.size() + i])) !=
            tail[i])
            return false;
    return true;
}

} // namespace

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
    if (map.width != kColumns || map.height != kRows) {
        error = "a map of " + std::to_string(map.width) + " x " + std::to_string(map.height) +
                " tiles; a level is 24 x 18";
        return false;
    }
    if (map.tileWidth != kMapTilePixels || map.tileHeight != kMapTilePixels) {
        error = "tiles of " + std::to_string(map.tileWidth) + " x " +
                std::to_string(map.tileHeight) + " pixels; a level's are 16 x 16";
        return false;
    }
    return true;
}

bool levelFromMap(const TiledMap& map, Level& level, std::string& error) {
    level = Level{};
    if (!checkMapShape(map, error))
        return false;
    if (!map.hasCells) {
        error = std::string("no tile layer named ") + kCellsLayerName;
        return false;
    }
    if (map.cells.size() != static_cast<std::size_t>(kColumns * kRows)) {
        error = std::string("layer ") + kCellsLayerName + ": " + std::to_string(map.cells.size()) +
                " tiles, a 24 x 18 map has 432";
        return false;
    }
    if (!readHeader(map, level, error))
        return false;
    for (std::size_t i = 0; i < map.cells.size(); ++i)
        if (!cellCode(map, i,
                      level.cell(static_cast<int>(i % kColumns), static_cast<int>(i / kColumns)),
                      error))
            return false;
    if (!map.hasMonsters) {
        error = std::string("no object layer named ") + kMonstersLayerName;
        return false;
    }
    for (int k = 0; k < kMonsterCount; ++k)
        if (!readMonster(map, k, level, error))
            return false;
    return true;
}

std::uint32_t exportedGid(const Level& level, int col, int row,
                          const std::vector<int>& unknownCodes) {
    const int code = level.cell(col, row) & 0xFF;
    if (code == 0)
        return 0;
    const int k = blockIndexOfCode(code);
    if (k >= 0)
        return static_cast<std::uint32_t>(k + 1);
    for (std::size_t i = 0; i < unknownCodes.size(); ++i)
        if (unknownCodes[i] == code)
            return kFirstUnknownGid + static_cast<std::uint32_t>(i);
    return 0;
}

double mapPixelX(int x) {
    return monsterPixelX(x, kMapTilePixels);
}
double mapPixelY(int y) {
    return monsterPixelY(y, kMapTilePixels);
}
long long monsterXOfPixel(double x) {
    return monsterXAtPixel(nearPixel(x), kMapTilePixels);
}
long long monsterYOfPixel(double y) {
    return monsterYAtPixel(nearPixel(y), kMapTilePixels);
}

std::string textForMessage(const std::string& text) {
    constexpr std::size_t kLongest = 40;
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c <= 0x7E && c != '"' && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            static const char kDigits[] = "0123456789ABCDEF";
            shown += std::string("\\x") + kDigits[c >> 4] + kDigits[c & 15];
        }
    }
    return text.size() > kLongest ? shown + "..." : shown;
}

std::string quotedForMessage(const std::string& text) {
    return "\"" + textForMessage(text) + "\"";
}

bool isMapFileName(const std::string& path) {
    return endsWith(path, ".tmx") || isJsonMapFileName(path);
}
bool isJsonMapFileName(const std::string& path) {
    return endsWith(path, ".tmj") || endsWith(path, ".json");
}
