// tomkrin export: a level as a Tiled map, with the tileset files beside it.
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/files/filebytes.h"
#include "core/level/levelcodec.h"
#include "core/tiled/mapfile.h"
#include "core/tiled/maptilesets.h"

namespace {

struct SideFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The files the map needs beside it: the same bytes for every level, so a file already there
// with those bytes is left alone, and one with other bytes (a tileset changed by hand) is never
// overwritten.
std::vector<SideFile> sideFiles(const Level& level, const std::string& map, bool embed) {
    std::vector<SideFile> files = {{pathBesideMap(map, kBlockTilesetImage), blockTilesetPng()}};
    if (!embed)
        files.push_back({pathBesideMap(map, kBlockTilesetFile), bytesOf(blockTilesetTsx())});
    for (const int code : unknownCodesOf(level))
        files.push_back({pathBesideMap(map, unknownTileImageName(code)), unknownTilePng(code)});
    return files;
}

// Why the map could not give back the level file byte for byte, or empty.
std::string lostBytes(const LoadedLevel& loaded) {
    if (loaded.fromSlot)
        return "";
    if (loaded.bytes.size() != kLevelFileSize)
        return std::to_string(loaded.bytes.size()) +
               " bytes long; a map keeps the 493 bytes of a level file, and the rest would be lost";
    if (loaded.bytes[0] != kBloadId)
        return "its first byte is not 0xFE; a map keeps the level, not that byte";
    return "";
}

int runExport(const ParsedArgs& args, CliContext& context) {
    const Command& command = exportCommand();
    if (args.positional.size() != 1)
        return usageError(context, command, "give one LEVEL");
    if (!args.has("-o"))
        return usageError(context, command, "name the map with -o MAP.tmx, MAP.tmj or MAP.json");
    const std::string& input = args.positional[0];
    const std::string& output = args.value("-o");
    if (!isMapArg(output))
        return usageError(context, command, "the map's name ends in .tmx, .tmj or .json");
    LoadedLevel loaded;
    if (const int status = loadLevel(context, input, loaded, args))
        return status;
    const std::string lost = lostBytes(loaded);
    if (!lost.empty())
        return fail(context, input, lost);
    const bool embed = args.has("--embed-tileset");
    const std::vector<SideFile> files = sideFiles(loaded.level, output, embed);
    const std::string levelPath = splitLevelArg(input).path;
    std::vector<const SideFile*> missing;
    for (const SideFile& file : files) {
        std::vector<std::uint8_t> there;
        std::string why;
        if (!readWholeFile(file.path, there, why)) {
            missing.push_back(&file);
        } else if (there != file.bytes) {
            return fail(context, file.path,
                        "is there already with other contents (changed by hand?); it is left "
                        "alone: export into another folder, or move it away");
        }
    }
    for (const SideFile* file : missing)
        if (!writeOutput(context, file->path, file->bytes, {levelPath}))
            return kStatusFailed;
    const MapFormat format = isJsonMapFileName(output) ? MapFormat::Json : MapFormat::Tmx;
    return writeOutput(context, output, bytesOf(writeLevelMap(loaded.level, format, embed)),
                       {levelPath})
               ? kStatusOk
               : kStatusFailed;
}

} // namespace

const Command& exportCommand() {
    static const Command command = {
        "export",
        "LEVEL -o MAP.tmx|MAP.tmj|MAP.json [--embed-tileset]",
        "a level as a map for the Tiled map editor",
        "Writes the level (a level file, TAPE.cas:N or a map) as a Tiled map: .tmx is\n"
        "Tiled's XML format, .tmj and .json its JSON format. `tomkrin import` reads it back\n"
        "to the same level file byte for byte. The map is orthogonal, 24 x 18 tiles of\n"
        "16 x 16 pixels: the tile layer `cells` (an empty tile is code 0), the map\n"
        "properties title, startAddress, endAddress, execAddress, manStartX, manStartY,\n"
        "and the object layer `monsters` with a polyline per monster (see tomkrin import\n"
        "--help and the README's section \"Editing levels in Tiled\").\n"
        "Beside the map go tomkrin-blocks.tsx and tomkrin-blocks.png, the tileset of the\n"
        "45 blocks with their int property `code`, the same files for every level (a file\n"
        "already there with other contents is not overwritten: the export is refused), and\n"
        "tomkrin-unknown-HH.png for each code HH in the level that no block has.\n"
        "A level file of another length than 493 bytes, or one that does not start with\n"
        "0xFE, is refused, since the map could not give it back byte for byte.\n"
        "  -o MAP           the map to write (required); it appears only when complete\n"
        "  --embed-tileset  keep the blocks' tileset inside the map, not in a .tsx file\n"
        "  --force          export a slot of any tape image\n",
        {{"-o", true}, {"--embed-tileset", false}, kForceOption},
        runExport,
    };
    return command;
}
