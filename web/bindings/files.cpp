// Opening a file of any kind the tools know, and the export for Tiled.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/levelsource/openedfile.h"
#include "core/tiled/levelmap.h"
#include "core/tiled/mapfile.h"

#include "web/bindings/convert.h"

using emscripten::val;

namespace {

const char* kindName(OpenedKind kind) {
    switch (kind) {
    case OpenedKind::LevelFile:
        return "level";
    case OpenedKind::Map:
        return "map";
    case OpenedKind::Picture:
        return "picture";
    case OpenedKind::Tape:
        return "tape";
    case OpenedKind::Recording:
        return "recording";
    }
    return "level";
}

// {name, bytes}[] as the files handed over with a map.
std::vector<MapSideFile> filesOf(const val& list) {
    std::vector<MapSideFile> files;
    const unsigned count = list["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) {
        const val file = list[i];
        files.push_back({file["name"].as<std::string>(), bytesOf(file["bytes"])});
    }
    return files;
}

val openFile(const std::string& name, const val& bytes, const val& otherFiles) {
    OpenedKind kind = OpenedKind::LevelFile;
    Level level{};
    FileFailure failure;
    val result = val::object();
    if (!openEditorFile(name, bytesOf(bytes), tilesetsFromFiles(filesOf(otherFiles)), kind, level,
                        failure)) {
        result.set("error", failure.text());
        return result;
    }
    result.set("kind", std::string(kindName(kind)));
    if (kind == OpenedKind::LevelFile || kind == OpenedKind::Map || kind == OpenedKind::Picture)
        result.set("level", levelFileValue(level));
    return result;
}

val namedBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    val file = val::object();
    file.set("name", name);
    file.set("bytes", bytesValue(bytes));
    return file;
}

// As `tomkrin export -o MAP`: the format by the map's name (.tmj or .json JSON, else TMX), the map
// first, then the files it needs beside it.
val tiledExport(const val& levelFile, const std::string& mapName, bool embedTileset) {
    const Level level = levelOf(levelFile);
    const MapFormat format = isJsonMapFileName(mapName) ? MapFormat::Json : MapFormat::Tmx;
    const std::string map = writeLevelMap(level, format, embedTileset);
    val files = val::array();
    files.call<void>("push",
                     namedBytes(mapName, std::vector<std::uint8_t>(map.begin(), map.end())));
    for (const MapSideFile& file : mapSideFiles(level, embedTileset))
        files.call<void>("push", namedBytes(file.name, file.bytes));
    return files;
}

} // namespace

EMSCRIPTEN_BINDINGS(tk_files) {
    emscripten::function("openFile", &openFile);
    emscripten::function("tiledExport", &tiledExport);
}
