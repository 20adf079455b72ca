#pragma once
// What kind of file a front end was handed, told by its name and its bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"

enum class FileKind {
    LevelFile, // anything else: a level file (493 bytes, or read as far as it goes)
    TiledMap,  // named .tmx, .tmj or .json
    TapeImage, // bytes that hold a block marker
};

// Whether `bytes` start as a WAV file (RIFF/WAVE) or a FLAC file (fLaC) does.
bool startsAsWav(const std::vector<std::uint8_t>& bytes);
bool startsAsFlac(const std::vector<std::uint8_t>& bytes);

// The kind of the file `name` holding `bytes`: a map by its name, else a tape image by its bytes,
// else a level file.
FileKind fileKindOf(const std::string& name, const std::vector<std::uint8_t>& bytes);

// Refuses bytes given as a level file that are no level file, unless `force`: false with
// {name, "not a level file: it is a PNG picture"} for a kind the tools know by its bytes (a PNG
// picture, a tape image, a WAV or FLAC recording, a Tiled map under another name), else, for bytes
// that do not start with 0xFE as every level file does, {name, "not a level file: it starts with
// 0x41, a level file with 0xFE"}. No bytes at all are left to the length's check.
bool checkLevelFileKind(const std::string& name, const std::vector<std::uint8_t>& bytes, bool force,
                        FileFailure& failure);
