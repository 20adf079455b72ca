// tomkrin render: a level, or the 20 standard levels of a tape image, as a PNG picture.
#include "core/picture/contactsheet.h"
#include "core/picture/levelchunk.h"
#include "core/picture/levelrender.h"
#include "core/picture/pngimage.h"
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/levelsource/tapesheet.h"
#include "core/tape/tapeimage.h"

namespace {

int writePng(CliContext& context, const std::vector<std::uint8_t>& png, const std::string& output,
             const std::string& input) {
    if (png.empty())
        return fail(context, output, "the PNG encoder failed");
    return writeOutput(context, output, png, {input}) ? kStatusOk : kStatusFailed;
}

bool parseScale(const std::string& text, int& scale) {
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    scale = std::stoi(text);
    return scale >= 1 && scale <= kLargestRenderScale;
}

int runRender(const ParsedArgs& args, CliContext& context) {
    const Command& command = renderCommand();
    if (args.positional.size() != 1)
        return usageError(context, command, "give one LEVEL or TAPE.cas");
    if (!args.has("-o"))
        return usageError(context, command, "name the picture with -o OUT.png");
    int scale = 1;
    if (args.has("--scale") && !parseScale(args.value("--scale"), scale))
        return usageError(context, command, "--scale takes a whole number from 1 to 16");
    const std::string& input = args.positional[0];
    const std::string& output = args.value("-o");
    const LevelArg level = splitLevelArg(input);
    if (!level.isSlot) {
        std::vector<std::uint8_t> bytes;
        if (!readInput(context, input, bytes))
            return kStatusFailed;
        if (isTapeImage(bytes)) {
            if (args.has("--scale"))
                return usageError(context, command, "--scale is for a single level");
            if (const int status =
                    refuseForeignTape(context, input, bytes, args.has(kForceOption.name)))
                return status;
            return writePng(context, encodePng(renderContactSheet(standardLevelSheet(bytes))),
                            output, input);
        }
    }
    LoadedLevel loaded;
    if (const int status = loadLevel(context, input, loaded, args))
        return status;
    return writePng(context, levelPicturePng(loaded.level, scale), output, level.path);
}

} // namespace

const Command& renderCommand() {
    static const Command command = {
        "render",
        "LEVEL -o OUT.png [--scale N] | TAPE.cas -o SHEET.png",
        "a level, or all 20 levels of a tape, as a PNG picture",
        "LEVEL (a level file, a map, a picture of a level or TAPE.cas:N): the level as the\n"
        "editor's canvas shows it.\n"
        "At scale 1 the picture is 384 pixels wide: the grid is its top-left 384 x 288\n"
        "pixels, each cell the 16 x 16 picture of its block (plain white for a code no\n"
        "block has), each used monster's path drawn from start to end with its number on\n"
        "the start, and the title in a band under the grid. The picture carries the level\n"
        "(its level file, in a PNG chunk of its own), so that every command taking a LEVEL\n"
        "takes the picture as well.\n"
        "TAPE.cas: a contact sheet of its 20 standard levels at half size, each with its\n"
        "number and title.\n"
        "A tape image that is not the game's tape (see tomkrin info --help), or a slot of\n"
        "one, and a file that is no level file (another kind of file, e.g. a PNG picture\n"
        "without a level, or one that does not start with 0xFE) are refused unless\n"
        "--force is given, and no picture is written.\n"
        "  -o OUT.png   the picture to write (required); it appears only when complete\n"
        "  --scale N    every pixel as an N x N square, N from 1 to 16 (single levels)\n"
        "  --force      render the slots of any tape image, any file as a level file\n",
        {{"-o", true}, {"--scale", true}, kForceOption},
        runRender,
    };
    return command;
}
