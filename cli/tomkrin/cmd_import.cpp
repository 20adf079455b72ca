// tomkrin import: a Tiled map back to a level file.
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"

namespace {

int runImport(const ParsedArgs& args, CliContext& context) {
    const Command& command = importCommand();
    if (args.positional.size() != 1)
        return usageError(context, command, "give one MAP");
    if (!args.has("-o"))
        return usageError(context, command, "name the level file with -o LEVEL.bin");
    const std::string& input = args.positional[0];
    if (!isMapArg(input))
        return usageError(context, command, "a map's name ends in .tmx, .tmj or .json");
    LoadedLevel loaded;
    if (const int status = loadLevel(context, input, loaded, args))
        return status;
    return writeOutput(context, args.value("-o"), loaded.bytes, {input}) ? kStatusOk
                                                                         : kStatusFailed;
}

} // namespace

const Command& importCommand() {
    static const Command command = {
        "import",
        "MAP.tmx|MAP.tmj|MAP.json -o LEVEL.bin",
        "a map saved by the Tiled map editor back to a level file",
        "Reads a map as `tomkrin export` writes it and Tiled saves it, in either format and\n"
        "any tile layer format Tiled writes (CSV, base64, base64 with zlib, gzip or zstd\n"
        "compression), and writes the 493-byte level file. What it takes:\n"
        "  - an orthogonal map of 24 x 18 tiles of 16 x 16 pixels, not infinite;\n"
        "  - the tile layer `cells`: each tile gives its cell the int property `code` of\n"
        "    the tile in its tileset (never its place in the tileset, so a reordered or\n"
        "    extended tileset works); an empty tile is code 0;\n"
        "  - the map properties title (24 characters at most, centred when shorter; \\\\ is\n"
        "    a backslash and \\xHH the byte HH), startAddress, endAddress, execAddress\n"
        "    (0 to 65535), manStartX and manStartY (0 to 255);\n"
        "  - the object layer `monsters` with the objects `monster 1` to `monster 4`, each\n"
        "    a polyline from the monster's start to its end (its first and last points),\n"
        "    at pixel x = 2 x (x - 16) + 8 and y = 2 x y + 8 for monster coordinates x and\n"
        "    y (the centre of the cell), with the int properties direction, type, colour.\n"
        "A map that breaks any of these, a flipped or rotated tile, a tile without `code`,\n"
        "a monster whose position falls outside 0 to 255, or a file that is not a whole\n"
        "map, is refused in one line saying what and where; nothing is written.\n"
        "Wherever tomkrin reads a LEVEL (show, check, render, insert, export), a map works\n"
        "as well.\n"
        "  -o LEVEL.bin   the level file to write (required); it appears only when complete\n",
        {{"-o", true}},
        runImport,
    };
    return command;
}
