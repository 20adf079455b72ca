#pragma once
// A Tiled map as its file says it, in the same form for TMX and JSON, and the one judgement that
// makes a level of it. The readers (tmxmap.h, jsonmap.h) only turn their syntax into this form;
// every rule of a level's map (numbers, tile numbers and their flag bits, tilesets and their tile
// codes, the layers that count, the monsters) is levelFromMap's, so no rule differs between the
// formats.
#include <string>
#include <vector>

#include "core/level/level.h"

// A number as the file writes it: the text of an XML attribute, or the JSON text of a JSON value
// (of a number, or of another value, which reads as no number); empty where the file leaves it
// out.
using MapNumber = std::string;

struct MapProperty {
    std::string name;
    std::string type; // "string", "int", ...; empty reads as "string"
    std::string value;
};

struct MapTile {
    MapNumber id;
    std::vector<MapProperty> properties;
};

struct MapTileset {
    MapNumber firstGid;
    bool external = false; // named by its file, `source`, which the map's reader does not read
    std::string source;
    std::string name; // for messages: its file, or its name in the map
    MapNumber tileCount;
    std::vector<MapTile> tiles;
};

struct MapObject {
    std::string name;
    MapNumber x, y;
    bool hasPolyline = false;
    std::vector<std::string> polyline; // each point as "x,y", its numbers as the file writes them
    std::vector<MapProperty> properties;
};

struct MapLayer {
    bool tiles = false; // a tile layer, else an object layer
    std::string name;
    // A tile layer's data: encoded (CSV or base64) in one text, or listed with a tile number per
    // tile (Tiled's oldest XML form, and JSON's array); neither when the layer has none.
    bool hasData = false, encoded = false;
    std::string encoding, compression, text;
    std::vector<MapNumber> gids;
    std::vector<MapObject> objects;
};

struct TiledMap {
    std::string orientation;
    MapNumber width, height, tileWidth, tileHeight;
    bool infinite = false;
    std::vector<MapProperty> properties;
    std::vector<MapTileset> tilesets;
    std::vector<MapLayer> layers; // tile and object layers in file order, those of groups in place
};

// The level a map describes; false with one line in `error` saying what is wrong and where. The
// tilesets named by their file are read into `map` before.
bool levelFromMap(const TiledMap& map, Level& level, std::string& error);
