// tomkrin check LEVEL...: warnings to read before trying levels on a real machine.
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/level/levelcheck.h"

namespace {

int runCheck(const ParsedArgs& args, CliContext& context) {
    if (args.positional.empty())
        return usageError(context, checkCommand(), "give at least one LEVEL");
    int status = kStatusOk;
    for (const std::string& arg : args.positional) {
        LoadedLevel loaded;
        if (loadLevel(context, arg, loaded, args, true) != kStatusOk) {
            status = kStatusFailed;
            continue;
        }
        const std::vector<LevelWarning> warnings =
            loaded.fromSlot ? checkLevel(loaded.level)
                            : checkLevelFile(loaded.bytes.data(), loaded.bytes.size());
        for (const LevelWarning& warning : foldWarnings(warnings))
            context.out << arg << ": " << (warning.place.empty() ? "" : warning.place + ": ")
                        << warning.message << '\n';
        if (warnings.empty())
            context.out << arg << ": no warnings\n";
        else
            status = kStatusFailed;
    }
    return status;
}

} // namespace

const Command& checkCommand() {
    static const Command command = {
        "check",
        "LEVEL...",
        "warnings about levels before testing them on a real machine",
        "One line per warning, \"LEVEL: PLACE: what\", about:\n"
        "  - cells whose code no block has (the editor shows nothing there; runs of one\n"
        "    code in a row make one line),\n"
        "  - a monster whose start and end share neither a row nor a column (it wraps the\n"
        "    screen), monster positions outside the grid, types, colours and directions\n"
        "    outside the tables of the monster options window (monsters of type 0xFF are\n"
        "    unused and not checked),\n"
        "  - title characters that are not printable,\n"
        "  - a header whose end address is not start + 0x1BE,\n"
        "  - a level file that is not 493 bytes long or does not start with 0xFE.\n"
        "A level with more than 12 warnings gets one line per kind instead, with the count,\n"
        "the codes and the first place, e.g. \"LEVEL: 312 cells hold codes of no block:\n"
        "0x00 (150), 0xFF (162); first at row 0, column 0\".\n"
        "A level without warnings says \"no warnings\". The exit status is 1 when anything\n"
        "was found (or a level could not be read), 0 otherwise.\n"
        "A slot of a tape image that is not the game's tape (see tomkrin info --help),\n"
        "and a file that is no level file (another kind of file, e.g. a PNG picture\n"
        "without a level, or one that does not start with 0xFE), are refused unless\n"
        "--force is given.\n"
        "  --force   check a slot of any tape image, any file as a level file\n",
        {kForceOption},
        runCheck,
    };
    return command;
}
