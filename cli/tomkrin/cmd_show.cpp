// tomkrin show LEVEL: the grid in the terminal, one character per block, with a legend.
#include <cstdio>
#include <map>

#include "core/level/blockcatalog.h"
#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/level/leveltitle.h"
#include "core/picture/builtinart.h"

namespace {

constexpr char kAirChar = '.';
constexpr char kHeartChar = '&';
constexpr char kNoBlockChar = ' ';
constexpr int kAirCode = 0x20;

// Most block codes are the game's own character codes and are printable: the block is shown by
// its code. Air would be a blank and the heart's code is not ASCII; a code no block has is a
// blank, as the editor leaves its cell empty.
char blockChar(int code) {
    if (blockIndexOfCode(code) < 0)
        return kNoBlockChar;
    if (code == kAirCode)
        return kAirChar;
    return isPrintableTitleChar(code) ? static_cast<char>(code) : kHeartChar;
}

// The colour most of a block's picture shows, black aside, for the terminal's background.
MsxColour mainColour(const BlockArt& art) {
    int counts[16] = {};
    for (const std::uint8_t pixel : art.pixels)
        ++counts[pixel];
    int best = 0;
    for (int colour = 2; colour < 16; ++colour)
        if (counts[colour] > counts[best])
            best = colour;
    return kMsxColours[best];
}

std::string colouredChar(int code) {
    if (blockIndexOfCode(code) < 0)
        return std::string(1, kNoBlockChar);
    const BlockArt* art = builtInBlockArtOfCode(code);
    const MsxColour c = art ? mainColour(*art) : kMsxColours[0];
    const bool light = c.red * 3 + c.green * 6 + c.blue > 1280;
    char escape[48];
    std::snprintf(escape, sizeof escape, "\x1b[48;2;%d;%d;%dm\x1b[%dm%c\x1b[0m", c.red, c.green,
                  c.blue, light ? 30 : 97, blockChar(code));
    return escape;
}

void printRuler(std::ostream& out) {
    out << "    ";
    for (int col = 0; col < kColumns; ++col)
        out << col / 10;
    out << "\n    ";
    for (int col = 0; col < kColumns; ++col)
        out << col % 10;
    out << '\n';
}

void printGrid(std::ostream& out, const Level& level, bool colour) {
    printRuler(out);
    for (int row = 0; row < kRows; ++row) {
        char label[8];
        std::snprintf(label, sizeof label, "%2d  ", row);
        out << label;
        for (int col = 0; col < kColumns; ++col) {
            const int code = level.cell(col, row);
            out << (colour ? colouredChar(code) : std::string(1, blockChar(code)));
        }
        out << '\n';
    }
}

void printLegend(std::ostream& out, const Level& level, bool colour) {
    std::map<int, int> counts;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            ++counts[level.cell(col, row)];
    out << "legend\n";
    for (const auto& [code, count] : counts) {
        const int k = blockIndexOfCode(code);
        char line[96];
        std::snprintf(line, sizeof line, " 0x%02X %-24s %3d cell%s\n", static_cast<unsigned>(code),
                      k >= 0 ? block[k].name : "(no block: shown blank)", count,
                      count == 1 ? "" : "s");
        out << "  " << (colour ? colouredChar(code) : std::string(1, blockChar(code))) << line;
    }
}

int runShow(const ParsedArgs& args, CliContext& context) {
    if (args.positional.size() != 1)
        return usageError(context, showCommand(), "give one LEVEL");
    const std::string when = args.has("--color") ? args.value("--color") : "auto";
    if (when != "auto" && when != "always" && when != "never")
        return usageError(context, showCommand(), "--color takes auto, always or never");
    LoadedLevel loaded;
    if (const int status = loadLevel(context, args.positional[0], loaded, args))
        return status;
    const bool colour = when == "always" || (when == "auto" && context.outIsTerminal);
    context.out << loaded.name << ": \"" << titleForDisplay(loaded.level) << "\"\n";
    printGrid(context.out, loaded.level, colour);
    printLegend(context.out, loaded.level, colour);
    return kStatusOk;
}

} // namespace

const Command& showCommand() {
    static const Command command = {
        "show",
        "LEVEL [--color=auto|always|never]",
        "the level's grid in the terminal",
        "Prints the 24 x 18 grid, one character per cell, with column and row numbers, and\n"
        "a legend of the blocks it holds. A block is shown by the character of its code (the\n"
        "game's own), Air as '.', the Heart as '&', a code no block has as a blank.\n"
        "LEVEL is a level file, a map, a picture of a level `tomkrin render` wrote, or\n"
        "TAPE.cas:N, standard level N (0 to 19) of a tape image.\n"
        "A slot of a tape image that is not the game's tape, and a file that is no level\n"
        "file (another kind of file, e.g. a PNG picture without a level, or one that\n"
        "does not start with 0xFE), are refused unless --force.\n"
        "  --color=WHEN  colour each cell like its block: auto (when the output is a\n"
        "                terminal; never on Windows), always or never\n"
        "  --force       show a slot of any tape image, any file as a level file\n",
        {{"--color", true}, kForceOption},
        runShow,
    };
    return command;
}
