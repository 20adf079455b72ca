#pragma once
// A LEVEL argument: a level file, a Tiled map (.tmx, .tmj, .json), a picture that carries its level
// (`tomkrin render`'s), or a standard level of a tape image written TAPE.cas:N. The core judges the
// bytes (core/levelsource); here the argument is split and its files are read.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/tomkrin/command.h"
#include "core/level/level.h"

struct LevelArg {
    std::string path;    // the level file or the tape image
    bool isSlot = false; // TAPE.cas:N
    unsigned slot = 0;
};

// "game.cas:5" names slot 5 of game.cas, unless a file of that whole name exists. Any digits
// after the last colon make a slot; its range is checked by loadLevel.
LevelArg splitLevelArg(const std::string& arg);

struct LoadedLevel {
    Level level{};
    std::string name; // the argument as given, for messages
    bool fromSlot = false;
    bool fromPicture = false;
    // a level file's bytes (a map's or a picture's level file); empty for a slot
    std::vector<std::uint8_t> bytes;
};

// Whether `path` names a Tiled map (by its ending).
bool isMapArg(const std::string& path);

// Loads the level an argument names. A level file must hold a whole body (493 bytes) unless
// `anyLength`, and be one (no other kind of file, starting with 0xFE) unless the command line has
// --force; a slot must lie within the tape, of the game's tape unless --force. Reports what is
// wrong and returns its exit status, 0 when the level was loaded.
int loadLevel(CliContext& context, const std::string& arg, LoadedLevel& loaded,
              const ParsedArgs& args, bool anyLength = false);

// The --force option of the commands that read a level: a slot of any tape image, any bytes as a
// level file.
extern const OptionInfo kForceOption;
