#pragma once
// What kind of file a front end was handed, told by its name and its bytes.
#include <cstdint>
#include <string>
#include <vector>

enum class FileKind {
    LevelFile, // anything else: a level file (493 bytes, or read as far as it goes)
    TiledMap,  // named .tmx, .tmj or .json
    TapeImage, // bytes that hold a block marker
};

// The kind of the file `name` holding `bytes`: a map by its name, else a tape image by its bytes,
// else a level file.
FileKind fileKindOf(const std::string& name, const std::vector<std::uint8_t>& bytes);
