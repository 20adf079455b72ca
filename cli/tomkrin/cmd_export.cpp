// tomkrin export: a level as a Tiled map, with the tileset files beside it.
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/files/filebytes.h"
#include "core/tiled/mapfile.h"

namespace {

// Why the level could not come back byte for byte from the map, or empty: a slot always can.
std::string lostBytes(const LoadedLevel& loaded) {
    return loaded.fromSlot ? "" : levelFileLostInMap(loaded.bytes);
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
    const std::string levelPath = splitLevelArg(input).path;
    // The files beside the map are the same bytes for every level, so a file already there with
    // those bytes is left alone, and one with other bytes (a tileset changed by hand) is never
    // overwritten.
    std::vector<MapSideFile> missing;
    for (MapSideFile& file : mapSideFiles(loaded.level, embed)) {
        file.name = pathBesideMap(output, file.name);
        std::vector<std::uint8_t> there;
        std::string why;
        if (!readWholeFile(file.name, there, why)) {
            missing.push_back(std::move(file));
        } else if (there != file.bytes) {
            return fail(context, file.name,
                        "is there already with other contents (changed by hand?); it is left "
                        "alone: export into another folder, or move it away");
        }
    }
    for (const MapSideFile& file : missing)
        if (!writeOutput(context, file.name, file.bytes, {levelPath}))
            return kStatusFailed;
    const MapFormat format = isJsonMapFileName(output) ? MapFormat::Json : MapFormat::Tmx;
    const std::string map = writeLevelMap(loaded.level, format, embed);
    return writeOutput(context, output, std::vector<std::uint8_t>(map.begin(), map.end()),
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
        "Writes the level (a level file, TAPE.cas:N, a map or a picture of a level) as a\n"
        "Tiled map: .tmx is Tiled's XML format, .tmj and .json its JSON format.\n"
        "`tomkrin import` reads it back to the same level file byte for byte. The map\n"
        "is orthogonal, 24 x 18 tiles of 16 x 16 pixels: the tile layer `cells` (an empty\n"
        "tile is code 0), the map properties title, startAddress, endAddress,\n"
        "execAddress, manStartX, manStartY, and the object layer `monsters` with a\n"
        "polyline per monster (see tomkrin import --help and the README's section\n"
        "\"Editing levels in Tiled\").\n"
        "Beside the map go tomkrin-blocks.tsx and tomkrin-blocks.png, the tileset of the\n"
        "45 blocks with their int property `code`, the same files for every level (a file\n"
        "already there with other contents is not overwritten: the export is refused), and\n"
        "tomkrin-unknown-HH.png for each code HH in the level that no block has.\n"
        "A file that is no level file (another kind of file, e.g. a PNG picture without\n"
        "a level) is refused unless --force; a level file of another length than 493\n"
        "bytes, or one that does not start with 0xFE, is refused even then, since the map\n"
        "could not give it back byte for byte.\n"
        "  -o MAP           the map to write (required); it appears only when complete\n"
        "  --embed-tileset  keep the blocks' tileset inside the map, not in a .tsx file\n"
        "  --force          export a slot of any tape image, any file as a level file\n",
        {{"-o", true}, {"--embed-tileset", false}, kForceOption},
        runExport,
    };
    return command;
}
