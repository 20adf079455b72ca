// tomkrin insert: a level file's body into a tape image, as the editor's insertion writes it,
// but never lengthening the tape and never leaving it half written.
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/files/fileplatform.h"
#include "core/levelsource/levelinsertion.h"
#include "core/levelsource/levelsource.h"

namespace {

// Where the body goes; a usage status when the command line does not say it.
int placeOfBody(const ParsedArgs& args, CliContext& context, BodyPlace& place) {
    const Command& command = insertCommand();
    const bool byAddress = args.has("--address");
    if (args.positional.size() != (byAddress ? 2u : 3u))
        return usageError(context, command,
                          "give LEVEL.bin, TAPE.cas and either a level number or --address");
    if (byAddress) {
        std::size_t offset = 0;
        if (!parseTypedOffset(args.value("--address"), offset))
            return usageError(context, command, kTypedOffsetRule);
        place = typedOffsetPlace(offset);
        return kStatusOk;
    }
    unsigned level = 0;
    if (!parseStandardLevelNumber(args.positional[2], level))
        return usageError(context, command, kStandardLevelNumberRule);
    place = standardLevelPlace(level);
    return kStatusOk;
}

// Each file is judged as soon as it is read, so the first fault met is the one reported.
int runInsert(const ParsedArgs& args, CliContext& context) {
    BodyPlace place;
    if (const int status = placeOfBody(args, context, place))
        return status;
    const std::string& levelPath = args.positional[0];
    const std::string& tapePath = args.positional[1];
    const std::string output = args.has("-o") ? args.value("-o") : tapePath;
    if (isSameFile(levelPath, tapePath))
        return fail(context, tapePath, "is the level file itself");
    std::vector<std::uint8_t> level;
    if (isMapArg(levelPath)) {
        LoadedLevel loaded;
        if (const int status = loadLevel(context, levelPath, loaded, args))
            return status;
        level = loaded.bytes;
    } else if (!readInput(context, levelPath, level)) {
        return kStatusFailed;
    }
    const bool force = args.has(kForceOption.name);
    FileFailure failure;
    bool picture = false;
    if (!takeLevelOutOfPicture(levelPath, level, force, picture, failure) ||
        !checkLevelFile(levelPath, level, force, failure))
        return fail(context, failure);
    std::vector<std::uint8_t> tape;
    if (!readInput(context, tapePath, tape))
        return kStatusFailed;
    if (!insertLevelIntoTape(levelPath, level, tapePath, tape, place, foreignTapes(force), failure))
        return fail(context, failure);
    return writeOutput(context, output, tape, {levelPath}) ? kStatusOk : kStatusFailed;
}

} // namespace

const Command& insertCommand() {
    static const Command command = {
        "insert",
        "LEVEL.bin TAPE.cas N [-o NEW.cas] | LEVEL.bin TAPE.cas --address HEX [-o NEW.cas]",
        "a level file into a tape image",
        "Copies the 486-byte body of the level file (its bytes 7 to 492; the header is not\n"
        "looked at) over standard level N (0 to 19, at byte 23438 + 486 x N) of the tape\n"
        "image, or over the bytes at the hexadecimal offset HEX. These are the bytes the\n"
        "editor's insertion writes, but the tape is changed through a temporary file and a\n"
        "rename, so a failure leaves it as it was. Refused, leaving every file untouched:\n"
        "a level file shorter than 493 bytes, a file without a block marker as the tape,\n"
        "a tape too short to hold the level where it goes (a tape is never lengthened),\n"
        "the level file and the tape being the same file, and, unless --force, a file\n"
        "that is no level file (another kind of file, e.g. a PNG picture without a level,\n"
        "or one that does not start with 0xFE) and, for a level number N, a tape that is\n"
        "not the game's tape (see tomkrin info --help).\n"
        "LEVEL.bin may also be a Tiled map (.tmx, .tmj, .json; see tomkrin import --help),\n"
        "or a picture of a level that `tomkrin render` wrote: the level it carries.\n"
        "  -o NEW.cas      write the changed tape there and leave TAPE.cas untouched\n"
        "  --address HEX   the byte offset in the tape, e.g. 5B8E (level 0); unlike the\n"
        "                  editor's address box, all of the number counts\n"
        "  --force         write level N into any tape image, and take a file of any\n"
        "                  kind as the level file\n",
        {{"-o", true}, {"--address", true}, kForceOption},
        runInsert,
    };
    return command;
}
