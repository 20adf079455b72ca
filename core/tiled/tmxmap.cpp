// Tiled's XML formats: the map (.tmx) and the tileset (.tsx).
#include "core/tiled/tmxmap.h"

#include <sstream>
#include <utility>

#include <pugixml.hpp>

#include "core/tiled/levelmap.h"
#include "core/tiled/maptilesets.h"
#include "core/tiled/tmxproperty.h"
#include "core/tiled/maptitle.h"

namespace {

void addIntProperty(pugi::xml_node properties, const char* name, int value) {
    addTmxProperty(properties, name, "int", std::to_string(value));
}

void addUnknownTileset(pugi::xml_node map, const std::vector<int>& unknown) {
    pugi::xml_node tileset = map.append_child("tileset");
    tileset.append_attribute("firstgid") = kFirstUnknownGid;
    tileset.append_attribute("name") = kUnknownTilesetName;
    tileset.append_attribute("tilewidth") = kMapTilePixels;
    tileset.append_attribute("tileheight") = kMapTilePixels;
    tileset.append_attribute("tilecount") = static_cast<unsigned>(unknown.size());
    tileset.append_attribute("columns") = 0;
    pugi::xml_node grid = tileset.append_child("grid");
    grid.append_attribute("orientation") = "orthogonal";
    grid.append_attribute("width") = 1;
    grid.append_attribute("height") = 1;
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        pugi::xml_node tile = tileset.append_child("tile");
        tile.append_attribute("id") = static_cast<unsigned>(i);
        addIntProperty(tile.append_child("properties"), "code", unknown[i]);
        pugi::xml_node image = tile.append_child("image");
        image.append_attribute("width") = kMapTilePixels;
        image.append_attribute("height") = kMapTilePixels;
        image.append_attribute("source") = unknownTileImageName(unknown[i]).c_str();
    }
}

void addBlockTileset(pugi::xml_node map, bool embed) {
    if (!embed) {
        pugi::xml_node tileset = map.append_child("tileset");
        tileset.append_attribute("firstgid") = 1;
        tileset.append_attribute("source") = kBlockTilesetFile;
        return;
    }
    pugi::xml_document tsx;
    const std::string text = blockTilesetTsx();
    tsx.load_buffer(text.data(), text.size());
    pugi::xml_node tileset = map.append_copy(tsx.child("tileset"));
    tileset.remove_attribute("version");
    tileset.prepend_attribute("firstgid") = 1;
}

std::string csvOfCells(const Level& level, const std::vector<int>& unknown) {
    std::string text = "\n";
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            text += std::to_string(exportedGid(level, col, row, unknown));
            if (col + 1 < kColumns || row + 1 < kRows)
                text += ',';
        }
        text += '\n';
    }
    return text;
}

void addMonsters(pugi::xml_node map, const Level& level) {
    pugi::xml_node group = map.append_child("objectgroup");
    group.append_attribute("id") = 2;
    group.append_attribute("name") = kMonstersLayerName;
    for (int k = 0; k < kMonsterCount; ++k) {
        pugi::xml_node object = group.append_child("object");
        object.append_attribute("id") = k + 1;
        object.append_attribute("name") = ("monster " + std::to_string(k + 1)).c_str();
        const double x = mapPixelX(level.monster(k, kMonsterStartX) & 0xFF);
        const double y = mapPixelY(level.monster(k, kMonsterStartY) & 0xFF);
        object.append_attribute("x") = x;
        object.append_attribute("y") = y;
        pugi::xml_node properties = object.append_child("properties");
        addIntProperty(properties, "direction", level.monster(k, kMonsterDirection) & 0xFF);
        addIntProperty(properties, "type", level.monster(k, kMonsterType) & 0xFF);
        addIntProperty(properties, "colour", level.monster(k, kMonsterColor) & 0xFF);
        std::ostringstream points;
        points << "0,0 " << mapPixelX(level.monster(k, kMonsterEndX) & 0xFF) - x << ','
               << mapPixelY(level.monster(k, kMonsterEndY) & 0xFF) - y;
        object.append_child("polyline").append_attribute("points") = points.str().c_str();
    }
}

// --- reading: the syntax into the form of tiledmap.h, judged there ---

std::vector<MapProperty> readProperties(pugi::xml_node owner) {
    std::vector<MapProperty> properties;
    for (pugi::xml_node property : owner.child("properties").children("property")) {
        MapProperty read;
        read.name = property.attribute("name").value();
        read.type = property.attribute("type").value();
        // A string of several lines is kept as the element's text.
        read.value = property.attribute("value") ? property.attribute("value").value()
                                                 : property.text().get();
        properties.push_back(read);
    }
    return properties;
}

void readTilesetNode(pugi::xml_node node, MapTileset& tileset) {
    tileset.tileCount = node.attribute("tilecount").value();
    for (pugi::xml_node tile : node.children("tile"))
        tileset.tiles.push_back({tile.attribute("id").value(), readProperties(tile)});
}

void readLayerData(pugi::xml_node node, MapLayer& layer) {
    pugi::xml_node data = node.child("data");
    layer.hasData = !data.empty();
    layer.encoding = data.attribute("encoding").value();
    layer.compression = data.attribute("compression").value();
    layer.encoded = !layer.encoding.empty();
    if (layer.encoded) {
        layer.text = data.text().get();
        return;
    }
    // Tiled's oldest form: one <tile gid=".."/> per tile.
    for (pugi::xml_node tile : data.children("tile"))
        layer.gids.push_back(tile.attribute("gid").value());
}

void readObjects(pugi::xml_node group, std::vector<MapObject>& objects) {
    for (pugi::xml_node node : group.children("object")) {
        MapObject object;
        object.name = node.attribute("name").value();
        object.x = node.attribute("x").value();
        object.y = node.attribute("y").value();
        object.properties = readProperties(node);
        if (pugi::xml_node polyline = node.child("polyline")) {
            object.hasPolyline = true;
            std::istringstream points(polyline.attribute("points").value());
            std::string point;
            while (points >> point)
                object.polyline.push_back(point);
        }
        objects.push_back(std::move(object));
    }
}

// Tile layers and object groups, also inside group layers.
void readLayers(pugi::xml_node parent, TiledMap& map, int depth) {
    if (depth > 32)
        return;
    for (pugi::xml_node node : parent.children()) {
        const std::string kind = node.name();
        if (kind == "group") {
            readLayers(node, map, depth + 1);
            continue;
        }
        if (kind != "layer" && kind != "objectgroup")
            continue;
        MapLayer layer;
        layer.tiles = kind == "layer";
        layer.name = node.attribute("name").value();
        if (layer.tiles)
            readLayerData(node, layer);
        else
            readObjects(node, layer.objects);
        map.layers.push_back(std::move(layer));
    }
}

bool parseXml(const std::uint8_t* data, std::size_t size, const char* what,
              pugi::xml_document& document, std::string& error) {
    const pugi::xml_parse_result result = document.load_buffer(data, size);
    if (!result) {
        error = std::string("not a Tiled ") + what + ": XML " + result.description() + " at byte " +
                std::to_string(result.offset);
        return false;
    }
    return true;
}

} // namespace

std::string writeTmxMap(const Level& level, bool embedTileset) {
    pugi::xml_document document;
    pugi::xml_node map = document.append_child("map");
    map.append_attribute("version") = "1.8";
    map.append_attribute("orientation") = "orthogonal";
    map.append_attribute("renderorder") = "right-down";
    map.append_attribute("width") = kColumns;
    map.append_attribute("height") = kRows;
    map.append_attribute("tilewidth") = kMapTilePixels;
    map.append_attribute("tileheight") = kMapTilePixels;
    map.append_attribute("infinite") = 0;
    map.append_attribute("nextlayerid") = 3;
    map.append_attribute("nextobjectid") = kMonsterCount + 1;
    pugi::xml_node properties = map.append_child("properties");
    addTmxProperty(properties, "title", "string", escapeMapTitle(level));
    addIntProperty(properties, "startAddress", level.startAddress() & 0xFFFF);
    addIntProperty(properties, "endAddress", level.endAddress() & 0xFFFF);
    addIntProperty(properties, "execAddress", level.execAddress() & 0xFFFF);
    addIntProperty(properties, "manStartX", level.manStartX() & 0xFF);
    addIntProperty(properties, "manStartY", level.manStartY() & 0xFF);
    addBlockTileset(map, embedTileset);
    const std::vector<int> unknown = unknownCodesOf(level);
    if (!unknown.empty())
        addUnknownTileset(map, unknown);
    pugi::xml_node layer = map.append_child("layer");
    layer.append_attribute("id") = 1;
    layer.append_attribute("name") = kCellsLayerName;
    layer.append_attribute("width") = kColumns;
    layer.append_attribute("height") = kRows;
    pugi::xml_node data = layer.append_child("data");
    data.append_attribute("encoding") = "csv";
    data.append_child(pugi::node_pcdata).set_value(csvOfCells(level, unknown).c_str());
    addMonsters(map, level);
    std::ostringstream text;
    document.save(text, " ", pugi::format_default | pugi::format_no_declaration);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + text.str();
}

bool readTmxMap(const std::uint8_t* data, std::size_t size, TiledMap& map, std::string& error) {
    pugi::xml_document document;
    if (!parseXml(data, size, "map", document, error))
        return false;
    pugi::xml_node root = document.child("map");
    if (!root) {
        error = "not a Tiled map: no <map> element";
        return false;
    }
    map.orientation = root.attribute("orientation").value();
    map.width = root.attribute("width").value();
    map.height = root.attribute("height").value();
    map.tileWidth = root.attribute("tilewidth").value();
    map.tileHeight = root.attribute("tileheight").value();
    map.infinite = root.attribute("infinite").as_int(0) != 0;
    map.properties = readProperties(root);
    for (pugi::xml_node node : root.children("tileset")) {
        MapTileset tileset;
        tileset.firstGid = node.attribute("firstgid").value();
        tileset.external = !node.attribute("source").empty();
        if (tileset.external) {
            tileset.source = node.attribute("source").value();
            tileset.name = tileset.source;
        } else {
            tileset.name = node.attribute("name").value();
            readTilesetNode(node, tileset);
        }
        map.tilesets.push_back(std::move(tileset));
    }
    readLayers(root, map, 0);
    return true;
}

bool readTsxTileset(const std::uint8_t* data, std::size_t size, MapTileset& tileset,
                    std::string& error) {
    pugi::xml_document document;
    if (!parseXml(data, size, "tileset", document, error))
        return false;
    pugi::xml_node root = document.child("tileset");
    if (!root) {
        error = "not a Tiled tileset: no <tileset> element";
        return false;
    }
    readTilesetNode(root, tileset);
    return true;
}
