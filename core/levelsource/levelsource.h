#pragma once
// The level a file gives: a level file, a Tiled map, or a standard level slot of the game's tape
// image. Each reader takes the file's bytes and the name to give it in a message, and refuses in
// one FileFailure, "FILE: WHAT".
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"
#include "core/level/level.h"
#include "core/levelsource/gametape.h"
#include "core/tiled/mapfile.h"

// False with {name, "too short for a level file: 400 bytes, a level file has 493"} when the level
// file cannot supply a whole body.
bool checkLevelFileHoldsBody(const std::string& name, const std::vector<std::uint8_t>& levelFile,
                             FileFailure& failure);

// Bytes given as a level file that are one: unless `force`, of no other kind and starting with 0xFE
// (checkLevelFileKind), and holding a whole body (checkLevelFileHoldsBody).
bool checkLevelFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool force,
                    FileFailure& failure);

// Bytes given as a level file that are a picture carrying its level (core/picture/levelchunk.h)
// stand for the level file inside it: `bytes` become that level file, and `picture` is set. A
// picture whose level chunk is damaged is refused with {name, "the level in this picture is
// damaged: its level chunk fails its CRC check"}, unless `force`; a picture without a level chunk,
// or forced with a damaged one, is left as it is, for checkLevelFileKind to refuse or take.
bool takeLevelOutOfPicture(const std::string& name, std::vector<std::uint8_t>& bytes, bool force,
                           bool& picture, FileFailure& failure);

// The level of a level file. Refused unless `force`: bytes that are no level file
// (checkLevelFileKind; a tape image with the hint "name one of its levels as NAME:N"); and, unless
// `anyLength`, a file without a whole body (checkLevelFileHoldsBody). A longer file, or with
// `anyLength` a shorter one, is read as far as a level file goes.
bool levelOfLevelFile(const std::string& name, const std::vector<std::uint8_t>& bytes,
                      bool anyLength, bool force, Level& level, FileFailure& failure);

// The level a Tiled map describes, its tilesets read through `loader`. Refused with the map
// reader's line saying what is wrong and where.
bool levelOfMap(const std::string& name, const std::vector<std::uint8_t>& bytes,
                const TilesetLoader& loader, Level& level, FileFailure& failure);

// False with {slotName, "a tape image holds the standard levels 0 to 19"} for a slot outside them;
// `slotName` names the slot as the user did, e.g. "game.cas:25".
bool checkStandardLevelSlot(const std::string& slotName, unsigned slot, FileFailure& failure);

// Standard level `slot` of the tape image `tapeName` holding `tape`, as extracted (see
// extractStandardLevel). Refused: a slot outside 0 to 19 (checkStandardLevelSlot), bytes that are
// no tape image, a tape that is not the game's (checkGameTape), a tape too short to hold the slot.
bool levelOfTapeSlot(const std::string& slotName, const std::string& tapeName,
                     const std::vector<std::uint8_t>& tape, unsigned slot,
                     const ForeignTapes& foreign, Level& level, FileFailure& failure);
