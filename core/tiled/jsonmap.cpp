// Tiled's JSON formats: the map (.tmj, .json) and the tileset (.tsj, .json).
#include "core/tiled/jsonmap.h"

#include <nlohmann/json.hpp>

#include "core/level/blockcatalog.h"
#include "core/tiled/levelmap.h"
#include "core/tiled/maptilesets.h"
#include "core/tiled/maptitle.h"

namespace {

using Json = nlohmann::ordered_json;

Json property(const char* name, const char* type, Json value) {
    return Json{{"name", name}, {"type", type}, {"value", std::move(value)}};
}

Json blockTileset(bool embed) {
    if (!embed)
        return Json{{"firstgid", 1}, {"source", kBlockTilesetFile}};
    Json tiles = Json::array();
    for (int k = 0; k < kBlockCount; ++k)
        tiles.push_back(
            Json{{"id", k},
                 {"properties", Json::array({property("code", "int", block[k].code),
                                             property("name", "string", block[k].name)})}});
    const int rows = (kBlockCount + kBlockTilesetColumns - 1) / kBlockTilesetColumns;
    return Json{{"columns", kBlockTilesetColumns},
                {"firstgid", 1},
                {"image", kBlockTilesetImage},
                {"imageheight", rows * kMapTilePixels},
                {"imagewidth", kBlockTilesetColumns * kMapTilePixels},
                {"margin", 0},
                {"name", kBlockTilesetName},
                {"spacing", 0},
                {"tilecount", kBlockCount},
                {"tileheight", kMapTilePixels},
                {"tiles", tiles},
                {"tilewidth", kMapTilePixels}};
}

Json unknownTileset(const std::vector<int>& unknown) {
    Json tiles = Json::array();
    for (std::size_t i = 0; i < unknown.size(); ++i)
        tiles.push_back(Json{{"id", i},
                             {"image", unknownTileImageName(unknown[i])},
                             {"imageheight", kMapTilePixels},
                             {"imagewidth", kMapTilePixels},
                             {"properties", Json::array({property("code", "int", unknown[i])})}});
    return Json{{"columns", 0},
                {"firstgid", kFirstUnknownGid},
                {"grid", Json{{"height", 1}, {"orientation", "orthogonal"}, {"width", 1}}},
                {"margin", 0},
                {"name", kUnknownTilesetName},
                {"spacing", 0},
                {"tilecount", unknown.size()},
                {"tileheight", kMapTilePixels},
                {"tiles", tiles},
                {"tilewidth", kMapTilePixels}};
}

Json monsterObject(const Level& level, int k) {
    const double x = mapPixelX(level.monster(k, kMonsterStartX) & 0xFF);
    const double y = mapPixelY(level.monster(k, kMonsterStartY) & 0xFF);
    const double endX = mapPixelX(level.monster(k, kMonsterEndX) & 0xFF) - x;
    const double endY = mapPixelY(level.monster(k, kMonsterEndY) & 0xFF) - y;
    return Json{
        {"height", 0},
        {"id", k + 1},
        {"name", "monster " + std::to_string(k + 1)},
        {"polyline", Json::array({Json{{"x", 0}, {"y", 0}}, Json{{"x", endX}, {"y", endY}}})},
        {"properties",
         Json::array({property("colour", "int", level.monster(k, kMonsterColor) & 0xFF),
                      property("direction", "int", level.monster(k, kMonsterDirection) & 0xFF),
                      property("type", "int", level.monster(k, kMonsterType) & 0xFF)})},
        {"rotation", 0},
        {"type", ""},
        {"visible", true},
        {"width", 0},
        {"x", x},
        {"y", y}};
}

// --- reading: the syntax into the form of tiledmap.h, judged there; every member is looked at
// for its type before use ---

const Json* member(const Json& object, const char* name) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

std::string text(const Json& object, const char* name) {
    const Json* value = member(object, name);
    return value && value->is_string() ? value->get<std::string>() : std::string();
}

// A number member as its JSON text; a value of another kind keeps its JSON text too, and so reads
// as no number.
MapNumber number(const Json& object, const char* name) {
    const Json* value = member(object, name);
    return value ? value->dump() : MapNumber();
}

std::string valueText(const Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number_integer())
        return std::to_string(value.get<long long>());
    return value.dump();
}

std::vector<MapProperty> readProperties(const Json& owner) {
    std::vector<MapProperty> properties;
    const Json* list = member(owner, "properties");
    if (!list || !list->is_array())
        return properties;
    for (const Json& entry : *list) {
        MapProperty read;
        read.name = text(entry, "name");
        read.type = text(entry, "type");
        const Json* value = member(entry, "value");
        read.value = value ? valueText(*value) : std::string();
        properties.push_back(read);
    }
    return properties;
}

void readTilesetObject(const Json& object, MapTileset& tileset) {
    tileset.tileCount = number(object, "tilecount");
    const Json* tiles = member(object, "tiles");
    if (!tiles || !tiles->is_array())
        return;
    for (const Json& tile : *tiles)
        tileset.tiles.push_back({number(tile, "id"), readProperties(tile)});
}

void readLayerData(const Json& node, MapLayer& layer) {
    const Json* data = member(node, "data");
    layer.encoded = data && data->is_string();
    layer.hasData = layer.encoded || (data && data->is_array());
    if (layer.encoded) {
        layer.text = data->get<std::string>();
        layer.encoding = text(node, "encoding");
        layer.compression = text(node, "compression");
    } else if (layer.hasData) {
        for (const Json& gid : *data)
            layer.gids.push_back(gid.dump());
    }
}

void readObjects(const Json& group, std::vector<MapObject>& objects) {
    const Json* list = member(group, "objects");
    if (!list || !list->is_array())
        return;
    for (const Json& entry : *list) {
        MapObject object;
        object.name = text(entry, "name");
        object.x = number(entry, "x");
        object.y = number(entry, "y");
        object.properties = readProperties(entry);
        const Json* polyline = member(entry, "polyline");
        if (polyline && polyline->is_array()) {
            object.hasPolyline = true;
            for (const Json& point : *polyline)
                object.polyline.push_back(number(point, "x") + "," + number(point, "y"));
        }
        objects.push_back(std::move(object));
    }
}

// Tile layers and object groups, also inside group layers.
void readLayers(const Json& parent, TiledMap& map, int depth) {
    const Json* layers = member(parent, "layers");
    if (!layers || !layers->is_array() || depth > 32)
        return;
    for (const Json& node : *layers) {
        const std::string kind = text(node, "type");
        if (kind == "group") {
            readLayers(node, map, depth + 1);
            continue;
        }
        if (kind != "tilelayer" && kind != "objectgroup")
            continue;
        MapLayer layer;
        layer.tiles = kind == "tilelayer";
        layer.name = text(node, "name");
        if (layer.tiles)
            readLayerData(node, layer);
        else
            readObjects(node, layer.objects);
        map.layers.push_back(std::move(layer));
    }
}

bool parseJson(const std::uint8_t* data, std::size_t size, const char* what, Json& document,
               std::string& error) {
    try {
        document = Json::parse(data, data + size);
    } catch (const Json::parse_error& e) {
        error =
            std::string("not a Tiled ") + what + ": JSON error at byte " + std::to_string(e.byte);
        return false;
    } catch (const Json::exception&) {
        // A number too large for a double, and the like.
        error = std::string("not a Tiled ") + what + ": a JSON value out of range";
        return false;
    }
    if (!document.is_object()) {
        error = std::string("not a Tiled ") + what + ": not a JSON object";
        return false;
    }
    return true;
}

} // namespace

std::string writeJsonMap(const Level& level, bool embedTileset) {
    const std::vector<int> unknown = unknownCodesOf(level);
    Json cells = Json::array();
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            cells.push_back(exportedGid(level, col, row, unknown));
    Json objects = Json::array();
    for (int k = 0; k < kMonsterCount; ++k)
        objects.push_back(monsterObject(level, k));
    Json tilesets = Json::array({blockTileset(embedTileset)});
    if (!unknown.empty())
        tilesets.push_back(unknownTileset(unknown));
    const Json map = {
        {"compressionlevel", -1},
        {"height", kRows},
        {"infinite", false},
        {"layers", Json::array({Json{{"data", cells},
                                     {"height", kRows},
                                     {"id", 1},
                                     {"name", kCellsLayerName},
                                     {"opacity", 1},
                                     {"type", "tilelayer"},
                                     {"visible", true},
                                     {"width", kColumns},
                                     {"x", 0},
                                     {"y", 0}},
                                Json{{"draworder", "topdown"},
                                     {"id", 2},
                                     {"name", kMonstersLayerName},
                                     {"objects", objects},
                                     {"opacity", 1},
                                     {"type", "objectgroup"},
                                     {"visible", true},
                                     {"x", 0},
                                     {"y", 0}}})},
        {"nextlayerid", 3},
        {"nextobjectid", kMonsterCount + 1},
        {"orientation", "orthogonal"},
        {"properties", Json::array({property("endAddress", "int", level.endAddress() & 0xFFFF),
                                    property("execAddress", "int", level.execAddress() & 0xFFFF),
                                    property("manStartX", "int", level.manStartX() & 0xFF),
                                    property("manStartY", "int", level.manStartY() & 0xFF),
                                    property("startAddress", "int", level.startAddress() & 0xFFFF),
                                    property("title", "string", escapeMapTitle(level))})},
        {"renderorder", "right-down"},
        {"tileheight", kMapTilePixels},
        {"tilesets", tilesets},
        {"tilewidth", kMapTilePixels},
        {"type", "map"},
        {"version", "1.8"},
        {"width", kColumns}};
    return map.dump(1) + "\n";
}

bool readJsonMap(const std::uint8_t* data, std::size_t size, TiledMap& map, std::string& error) {
    Json document;
    if (!parseJson(data, size, "map", document, error))
        return false;
    if (text(document, "type") != "map") {
        error = "not a Tiled map: its \"type\" is not \"map\"";
        return false;
    }
    map.orientation = text(document, "orientation");
    map.width = number(document, "width");
    map.height = number(document, "height");
    map.tileWidth = number(document, "tilewidth");
    map.tileHeight = number(document, "tileheight");
    const Json* infinite = member(document, "infinite");
    map.infinite = infinite && infinite->is_boolean() && infinite->get<bool>();
    map.properties = readProperties(document);
    const Json* tilesets = member(document, "tilesets");
    if (tilesets && tilesets->is_array()) {
        for (const Json& entry : *tilesets) {
            MapTileset tileset;
            tileset.firstGid = number(entry, "firstgid");
            tileset.external = member(entry, "source") != nullptr;
            if (tileset.external) {
                tileset.source = text(entry, "source");
                tileset.name = tileset.source;
            } else {
                tileset.name = text(entry, "name");
                readTilesetObject(entry, tileset);
            }
            map.tilesets.push_back(std::move(tileset));
        }
    }
    readLayers(document, map, 0);
    return true;
}

bool readJsonTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                     std::string& error) {
    Json document;
    if (!parseJson(data, size, "tileset", document, error))
        return false;
    readTilesetObject(document, tileset);
    return true;
}
