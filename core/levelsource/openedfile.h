#pragma once
// A file opened in an editor that takes every kind of file the tools know (the browser edition's
// Open and drop): what it is, told by its name and bytes, and the level it gives. Files come as
// bytes with their names, and those handed over with them, as a map's tilesets, likewise.
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"
#include "core/level/level.h"
#include "core/tiled/mapfile.h"

enum class OpenedKind {
    LevelFile, // a level file: its level
    Map,       // a Tiled map: the level it describes
    Picture,   // a picture of a level that carries it (core/picture/levelchunk.h): that level
    Tape,      // a tape image, to show and take levels from
    Recording, // a recording of a tape (.wav or .flac), to decode
};

// Whether the file is a recording: named .wav or .flac (in any case), or starting as a RIFF/WAVE or
// a FLAC file does.
bool isRecordingFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

// A loader of the tilesets a map names out of the files handed over with it, found by the last
// part of the name the map gives; the blocks' tileset tomkrin-blocks.tsx, when it is not among
// them, is the one `tomkrin export` writes beside every map.
TilesetLoader tilesetsFromFiles(std::vector<MapSideFile> files);

// What the file `name` holding `bytes` is, and for a level file or a map its level. A map by its
// name (fileKindOf), then a recording (isRecordingFile), a tape image, a picture that carries its
// level, else a level file. Refused with {name, WHAT}: a recording the WAV reader (or for FLAC, the
// reader of recordings) refuses, a map the map reader refuses, a picture whose level is damaged
// (takeLevelOutOfPicture), bytes that are no level file (checkLevelFileKind: a PNG picture without
// a level, a map's text under another name, any bytes not starting with 0xFE) and a level file too
// short to hold a level (checkLevelFileHoldsBody).
bool openEditorFile(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    const TilesetLoader& tilesets, OpenedKind& kind, Level& level,
                    FileFailure& failure);
