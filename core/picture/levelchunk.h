#pragma once
// The level inside its picture: a PNG file of a level carries the level's 493-byte level file in
// a chunk of its own, so that the picture, once shared, opens as the level it shows. The chunk is
// ancillary and private ("tkLv": every PNG reader passes over it), placed before IEND.
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"
#include "core/level/levelcodec.h"

constexpr char kLevelChunkType[] = "tkLv";

// Whether `bytes` start with the PNG signature.
bool startsAsPng(const std::vector<std::uint8_t>& bytes);

// `png` with `levelFile` in a level chunk before its IEND; `png` as it is when it has no IEND.
std::vector<std::uint8_t> withLevelChunk(std::vector<std::uint8_t> png,
                                         const LevelFileBytes& levelFile);

// The PNG file `tomkrin render` writes of `level` at `scale` (renderLevel), carrying the level;
// empty if the encoder failed.
std::vector<std::uint8_t> levelPicturePng(const Level& level, int scale);

enum class LevelChunk {
    Absent,  // no PNG, or a PNG without a level chunk
    Damaged, // a level chunk cut short, of another length than a level file, or failing its CRC
    Found,
};

// The level chunk of the PNG file `png`: for Found its level file in `levelFile`, for Damaged what
// is wrong with it in `damage` ("its level chunk fails its CRC check").
LevelChunk findLevelChunk(const std::vector<std::uint8_t>& png, LevelFileBytes& levelFile,
                          std::string& damage);
