#include "cli/tomkrin/levelarg.h"

#include <cstdio>

#include "cli/tomkrin/clifiles.h"
#include "core/files/filebytes.h"
#include "core/level/levelcodec.h"
#include "core/levelsource/levelsource.h"
#include "core/tiled/mapfile.h"

namespace {

constexpr std::size_t kMostSlotDigits = 9;

bool isFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

// The slot's number is judged before the tape is read.
int loadSlot(CliContext& context, const LevelArg& arg, LoadedLevel& loaded, bool force) {
    FileFailure failure;
    if (!checkStandardLevelSlot(loaded.name, arg.slot, failure))
        return fail(context, failure);
    std::vector<std::uint8_t> tape;
    if (!readInput(context, arg.path, tape))
        return kStatusFailed;
    if (!levelOfTapeSlot(loaded.name, arg.path, tape, arg.slot, foreignTapes(force), loaded.level,
                         failure))
        return fail(context, failure);
    loaded.fromSlot = true;
    return kStatusOk;
}

// A map's tilesets are the files it names beside it.
int loadMap(CliContext& context, const std::string& path, const std::vector<std::uint8_t>& bytes,
            LoadedLevel& loaded) {
    const TilesetLoader loader = [&](const std::string& source, std::vector<std::uint8_t>& tileset,
                                     std::string& why) {
        return readWholeFile(pathBesideMap(path, source), tileset, why);
    };
    FileFailure failure;
    if (!levelOfMap(path, bytes, loader, loaded.level, failure))
        return fail(context, failure);
    const LevelFileBytes file = encodeLevel(loaded.level);
    loaded.bytes.assign(file.begin(), file.end());
    return kStatusOk;
}

int loadFile(CliContext& context, const std::string& path, LoadedLevel& loaded, bool anyLength,
             bool force) {
    std::vector<std::uint8_t> bytes;
    if (!readInput(context, path, bytes))
        return kStatusFailed;
    if (fileKindOf(path, bytes) == FileKind::TiledMap)
        return loadMap(context, path, bytes, loaded);
    FileFailure failure;
    if (!takeLevelOutOfPicture(path, bytes, force, loaded.fromPicture, failure) ||
        !levelOfLevelFile(path, bytes, anyLength, force, loaded.level, failure))
        return fail(context, failure);
    loaded.bytes = std::move(bytes);
    return kStatusOk;
}

} // namespace

LevelArg splitLevelArg(const std::string& arg) {
    LevelArg level;
    level.path = arg;
    const std::size_t colon = arg.find_last_of(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == arg.size() ||
        arg.size() - colon - 1 > kMostSlotDigits || isFile(arg))
        return level;
    const std::string digits = arg.substr(colon + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return level;
    level.path = arg.substr(0, colon);
    level.isSlot = true;
    level.slot = static_cast<unsigned>(std::stoul(digits));
    return level;
}

int loadLevel(CliContext& context, const std::string& arg, LoadedLevel& loaded,
              const ParsedArgs& args, bool anyLength) {
    loaded = LoadedLevel{};
    loaded.name = arg;
    const LevelArg level = splitLevelArg(arg);
    const bool force = args.has(kForceOption.name);
    return level.isSlot ? loadSlot(context, level, loaded, force)
                        : loadFile(context, level.path, loaded, anyLength, force);
}

bool isMapArg(const std::string& path) {
    return isMapFileName(path);
}

const OptionInfo kForceOption = {"--force", false};
