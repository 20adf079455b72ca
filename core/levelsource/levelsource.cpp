#include "core/levelsource/levelsource.h"

#include "core/level/levelcodec.h"
#include "core/levelsource/filekind.h"
#include "core/picture/levelchunk.h"
#include "core/tape/levelslots.h"
#include "core/tape/tapeimage.h"
#include "core/tiled/mapfile.h"

bool checkLevelFileHoldsBody(const std::string& name, const std::vector<std::uint8_t>& levelFile,
                             FileFailure& failure) {
    if (levelFileHoldsBody(levelFile.size()))
        return true;
    failure = {name, "too short for a level file: " + std::to_string(levelFile.size()) +
                         " bytes, a level file has " + std::to_string(kLevelFileSize)};
    return false;
}

bool checkLevelFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool force,
                    FileFailure& failure) {
    return checkLevelFileKind(name, bytes, force, failure) &&
           checkLevelFileHoldsBody(name, bytes, failure);
}

bool takeLevelOutOfPicture(const std::string& name, std::vector<std::uint8_t>& bytes, bool force,
                           bool& picture, FileFailure& failure) {
    picture = false;
    LevelFileBytes levelFile{};
    std::string damage;
    switch (findLevelChunk(bytes, levelFile, damage)) {
    case LevelChunk::Absent:
        return true;
    case LevelChunk::Damaged:
        if (force)
            return true;
        failure = {name, "the level in this picture is damaged: " + damage};
        return false;
    case LevelChunk::Found:
        break;
    }
    bytes.assign(levelFile.begin(), levelFile.end());
    picture = true;
    return true;
}

bool levelOfLevelFile(const std::string& name, const std::vector<std::uint8_t>& bytes,
                      bool anyLength, bool force, Level& level, FileFailure& failure) {
    if (!checkLevelFileKind(name, bytes, force, failure)) {
        // Where a level is read, a level of a tape image can be named instead.
        if (isTapeImage(bytes))
            failure.what += " (name one of its levels as " + name + ":N)";
        return false;
    }
    if (!anyLength && !checkLevelFileHoldsBody(name, bytes, failure))
        return false;
    decodeLevel(bytes.data(), bytes.size(), level);
    return true;
}

bool levelOfMap(const std::string& name, const std::vector<std::uint8_t>& bytes,
                const TilesetLoader& loader, Level& level, FileFailure& failure) {
    std::string error;
    if (readLevelMap(bytes.data(), bytes.size(), loader, level, error))
        return true;
    failure = {name, error};
    return false;
}

bool checkStandardLevelSlot(const std::string& slotName, unsigned slot, FileFailure& failure) {
    if (isStandardLevel(slot))
        return true;
    failure = {slotName, "a tape image holds the standard levels 0 to 19"};
    return false;
}

bool levelOfTapeSlot(const std::string& slotName, const std::string& tapeName,
                     const std::vector<std::uint8_t>& tape, unsigned slot,
                     const ForeignTapes& foreign, Level& level, FileFailure& failure) {
    if (!checkStandardLevelSlot(slotName, slot, failure) ||
        !checkTapeImage(tapeName, tape, failure) ||
        !checkGameTape(tapeName, tape, foreign, failure))
        return false;
    const std::size_t offset = static_cast<std::size_t>(standardLevelOffset(slot));
    if (!checkTapeHoldsBody(tapeName, tape, offset, "level " + std::to_string(slot), failure))
        return false;
    const LevelFileBytes file = extractStandardLevel(tape.data(), tape.size(), slot);
    decodeLevel(file.data(), file.size(), level);
    return true;
}
