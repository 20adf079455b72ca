#pragma once
// A level as a Tiled map, and a map read back as a level.
//
// The map: orthogonal, 24 x 18 tiles of 16 x 16 pixels, right-down, not infinite. The tile layer
// `cells` holds cell (col, row) as tile (col, row); an empty tile is code 0. Map properties: title
// (string, see maptitle.h), startAddress, endAddress, execAddress, manStartX, manStartY (int). The
// object layer `monsters` holds the polylines `monster 1` to `monster 4`, each from the monster's
// start to its end at the centre of the cell its coordinates name (pixel x = 2 (x - 16) + 8,
// pixel y = 2 y + 8), with the int properties direction, type and colour.
//
// The readers (tmxmap.h, jsonmap.h) turn either format into one form (tiledmap.h), whose
// levelFromMap applies these conventions; mapfile.h reads and writes a map in either format.
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"

extern const char* const kCellsLayerName;    // "cells"
extern const char* const kMonstersLayerName; // "monsters"

// The tile number (gid) an exported map gives cell (col, row): 0 for code 0, 1 to 45 for the
// blocks in catalogue order, then the unknown codes in the order of `unknownCodes`.
std::uint32_t exportedGid(const Level& level, int col, int row,
                          const std::vector<int>& unknownCodes);

// Monster coordinates and the pixel position of the cell centre they name, and back (rounded to
// the nearest whole coordinate): level.h's monster pixels on the map's 16-pixel tiles.
double mapPixelX(int x);
double mapPixelY(int y);
long long monsterXOfPixel(double x);
long long monsterYOfPixel(double y);

// Tiled's flag bits of a gid: flipped horizontally, vertically, diagonally, rotated (hexagonal).
constexpr std::uint32_t kGidFlagBits = 0xF0000000u;

// Text taken from a map for a one-line message: at most 40 characters, each byte that is not
// printable ASCII written \xHH; and the same in double quotes.
std::string textForMessage(const std::string& text);
std::string quotedForMessage(const std::string& text);

// Whether a file name ends in .tmx, .tmj or .json (any case): a Tiled map.
bool isMapFileName(const std::string& path);
// Whether it is Tiled's JSON format (.tmj or .json).
bool isJsonMapFileName(const std::string& path);
