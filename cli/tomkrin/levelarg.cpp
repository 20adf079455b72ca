#include "cli/tomkrin/levelarg.h"

#include <cstdio>

#include "cli/tomkrin/clifiles.h"
#include "core/level/levelcodec.h"
#include "core/tape/levelslots.h"
#include "core/files/filebytes.h"
#include "core/tiled/mapfile.h"

namespace {

constexpr std::size_t kMostSlotDigits = 9;

bool isFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

int loadSlot(CliContext& context, const LevelArg& arg, LoadedLevel& loaded, bool force) {
    if (!isStandardLevel(arg.slot))
        return fail(context, loaded.name, "a tape image holds the standard levels 0 to 19");
    std::vector<std::uint8_t> tape;
    if (!readTapeImage(context, arg.path, tape))
        return kStatusFailed;
    if (const int status = refuseForeignTape(context, arg.path, tape, force))
        return status;
    const std::size_t offset = static_cast<std::size_t>(standardLevelOffset(arg.slot));
    if (!tapeHoldsBodyAt(tape.size(), offset))
        return fail(context, arg.path,
                    tooShortForBody(tape.size(), offset, "level " + std::to_string(arg.slot)));
    const LevelFileBytes file = extractStandardLevel(tape.data(), tape.size(), arg.slot);
    decodeLevel(file.data(), file.size(), loaded.level);
    loaded.fromSlot = true;
    return kStatusOk;
}

int loadMap(CliContext& context, const std::string& path, LoadedLevel& loaded) {
    std::vector<std::uint8_t> bytes;
    if (!readInput(context, path, bytes))
        return kStatusFailed;
    const TilesetLoader loader = [&](const std::string& source, std::vector<std::uint8_t>& tileset,
                                     std::string& why) {
        return readWholeFile(pathBesideMap(path, source), tileset, why);
    };
    std::string error;
    if (!readLevelMap(bytes.data(), bytes.size(), loader, loaded.level, error))
        return fail(context, path, error);
    const LevelFileBytes file = encodeLevel(loaded.level);
    loaded.bytes.assign(file.begin(), file.end());
    return kStatusOk;
}

int loadFile(CliContext& context, const std::string& path, LoadedLevel& loaded, bool anyLength) {
    if (isMapArg(path))
        return loadMap(context, path, loaded);
    if (!readInput(context, path, loaded.bytes))
        return kStatusFailed;
    if (isTapeImage(loaded.bytes))
        return fail(context, path, "a tape image: name one of its levels as " + path + ":N");
    if (!anyLength && !levelFileHoldsBody(loaded.bytes.size()))
        return fail(context, path,
                    "too short for a level file: " + std::to_string(loaded.bytes.size()) +
                        " bytes, a level file has " + std::to_string(kLevelFileSize));
    decodeLevel(loaded.bytes.data(), loaded.bytes.size(), loaded.level);
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
    return level.isSlot ? loadSlot(context, level, loaded, args.has(kForceOption.name))
                        : loadFile(context, level.path, loaded, anyLength);
}

bool isMapArg(const std::string& path) {
    return isMapFileName(path);
}

const OptionInfo kForceOption = {"--force", false};

bool parseStandardLevelNumber(const std::string& text, unsigned& level) {
    constexpr std::size_t kMostLevelDigits = 2;
    if (text.empty() || text.size() > kMostLevelDigits ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    level = static_cast<unsigned>(std::stoul(text));
    return isStandardLevel(level);
}
