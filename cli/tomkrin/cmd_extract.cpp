// tomkrin extract: standard levels of a tape image as level files the editor opens.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/levelsource/levelinsertion.h"
#include "core/tape/levelslots.h"

namespace {

std::vector<std::uint8_t> levelFile(const std::vector<std::uint8_t>& tape, unsigned level) {
    const LevelFileBytes file = extractStandardLevel(tape.data(), tape.size(), level);
    return std::vector<std::uint8_t>(file.begin(), file.end());
}

std::string levelFileName(const std::string& folder, unsigned level) {
    char name[16];
    std::snprintf(name, sizeof name, "level%02u.bin", level);
    const bool separated = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    return folder + (separated ? "" : "/") + name;
}

// Every level is checked before any file is written, so a short tape leaves no files behind.
int extractAll(CliContext& context, const std::string& tapePath,
               const std::vector<std::uint8_t>& tape, const std::string& folder) {
    const BodyPlace last = standardLevelPlace(kStandardLevelCount - 1);
    FileFailure failure;
    if (!checkTapeHoldsBody(tapePath, tape, last.offset, last.name, failure))
        return fail(context, failure);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return fail(context, folder, "cannot create the folder: " + error.message());
    for (unsigned level = 0; level < kStandardLevelCount; ++level)
        if (!writeOutput(context, levelFileName(folder, level), levelFile(tape, level), {tapePath}))
            return kStatusFailed;
    return kStatusOk;
}

int runExtract(const ParsedArgs& args, CliContext& context) {
    const Command& command = extractCommand();
    if (args.positional.size() != 2)
        return usageError(context, command, "give TAPE.cas and a level number or all");
    if (!args.has("-o"))
        return usageError(context, command, "name the output with -o");
    const std::string& tapePath = args.positional[0];
    const std::string& which = args.positional[1];
    unsigned level = 0;
    if (which != "all" && !parseStandardLevelNumber(which, level))
        return usageError(context, command, std::string(kStandardLevelNumberRule) + " or all");
    std::vector<std::uint8_t> tape;
    if (!readTapeImage(context, tapePath, tape))
        return kStatusFailed;
    if (const int status = refuseForeignTape(context, tapePath, tape, args.has(kForceOption.name)))
        return status;
    if (which == "all")
        return extractAll(context, tapePath, tape, args.value("-o"));
    const BodyPlace place = standardLevelPlace(level);
    FileFailure failure;
    if (!checkTapeHoldsBody(tapePath, tape, place.offset, place.name, failure))
        return fail(context, failure);
    return writeOutput(context, args.value("-o"), levelFile(tape, level), {tapePath})
               ? kStatusOk
               : kStatusFailed;
}

} // namespace

const Command& extractCommand() {
    static const Command command = {
        "extract",
        "TAPE.cas N -o LEVEL.bin | TAPE.cas all -o FOLDER",
        "standard levels of a tape image as level files",
        "Writes standard level N (0 to 19) of the tape image as a 493-byte level file that\n"
        "the editor opens and `tomkrin insert` puts back byte for byte: 0xFE, start address\n"
        "0xCA00 + 486 x N, end address start + 0x1BE, exec address 0, then the 486 bytes\n"
        "of the level as the tape holds them (from byte 23438 + 486 x N).\n"
        "With `all`, writes level00.bin to level19.bin into FOLDER (made if missing).\n"
        "A tape too short to hold the level, or one that is not the game's tape (see\n"
        "tomkrin info --help) unless --force is given, is refused, and no file is written.\n"
        "  -o PATH   the level file, or with `all` the folder (required)\n"
        "  --force   extract the level slots of any tape image\n",
        {{"-o", true}, kForceOption},
        runExtract,
    };
    return command;
}
