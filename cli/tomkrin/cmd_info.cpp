// tomkrin info FILE: what a level file (or a picture carrying one) or a tape image holds.
#include <cstdio>
#include <map>

#include "cli/tomkrin/clifiles.h"
#include "cli/tomkrin/levelarg.h"
#include "core/editor/canvasstatus.h"
#include "core/level/blockcatalog.h"
#include "core/level/hexdigit.h"
#include "core/level/levelcodec.h"
#include "core/level/leveltitle.h"
#include "core/level/monstertables.h"
#include "core/tape/levelslots.h"
#include "core/tape/tapedirectory.h"
#include "core/tape/tapefiles.h"
#include "core/tape/tapeimage.h"

namespace {

const char* directionName(int direction) {
    static const char* const kNames[kDirectionCount] = {"west", "north", "east", "south"};
    if (hasDirectionSelector(direction))
        return kNames[direction];
    return direction == kNoDirection ? "none" : "unknown";
}

void printHeader(std::ostream& out, const Level& level) {
    const int standard = standardLevelAtAddress(level.startAddress());
    out << "header    start " << hexText(level.startAddress(), 4);
    if (standard >= 0)
        out << " (standard level " << standard << ")";
    out << ", end " << hexText(level.endAddress(), 4) << ", exec "
        << hexText(level.execAddress(), 4) << '\n';
}

void printMonster(std::ostream& out, const Level& level, int k) {
    out << "monster " << k + 1 << " ";
    const int type = level.monster(k, kMonsterType);
    if (type == kUnusedMonsterType) {
        out << "unused (type 0xFF)\n";
        return;
    }
    const int direction = level.monster(k, kMonsterDirection);
    out << "type " << hexText(type, 2) << " " << mostro[monsterTypeIndex(type)].label << ", colour "
        << hexText(level.monster(k, kMonsterColor), 2) << " "
        << colorDescription(level.monster(k, kMonsterColor)) << ", from ("
        << hexText(level.monster(k, kMonsterStartX), 2) << ", "
        << hexText(level.monster(k, kMonsterStartY), 2) << ") to ("
        << hexText(level.monster(k, kMonsterEndX), 2) << ", "
        << hexText(level.monster(k, kMonsterEndY), 2) << "), direction " << hexText(direction, 2)
        << " (" << directionName(direction) << ")\n";
}

void printBlockCounts(std::ostream& out, const Level& level) {
    std::map<int, int> counts;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col)
            ++counts[level.cell(col, row)];
    out << "cells  code  block\n";
    for (const auto& [code, count] : counts) {
        const int k = blockIndexOfCode(code);
        char number[16];
        std::snprintf(number, sizeof number, "%5d  ", count);
        out << number << hexText(code, 2) << "  "
            << (k >= 0 ? block[k].name : "(no block: the editor shows nothing)") << '\n';
    }
}

void printLevel(std::ostream& out, const std::string& path, const LoadedLevel& loaded) {
    const Level& level = loaded.level;
    if (loaded.fromPicture)
        out << "picture " << path << ", carrying the level file (" << loaded.bytes.size()
            << " bytes";
    else
        out << "level file " << path << " (" << loaded.bytes.size() << " bytes";
    if (loaded.bytes.size() != kLevelFileSize)
        out << "; a level file has " << kLevelFileSize << ", the rest is ignored";
    out << ")\n";
    printHeader(out, level);
    out << "title     \"" << titleForDisplay(level) << "\"\n";
    out << "man       start (" << hexText(level.manStartX(), 2) << ", "
        << hexText(level.manStartY(), 2) << ") in monster coordinates\n";
    for (int k = 0; k < kMonsterCount; ++k)
        printMonster(out, level, k);
    printBlockCounts(out, level);
}

void printBlock(std::ostream& out, std::size_t index, const TapeDirectoryEntry& entry) {
    const std::string name =
        entry.kind == TapeBlockKind::Data ? "" : "\"" + printableFileName(entry.name) + "\"";
    char line[96];
    std::snprintf(line, sizeof line, "%5zu %8zu %8zu  %-7s %-9s", index, entry.offset, entry.size,
                  tapeBlockKindName(entry.kind), name.c_str());
    std::string text = line;
    if (entry.hasAddresses)
        text += hexText(entry.addresses.load, 4) + "  " + hexText(entry.addresses.end, 4) + "  " +
                hexText(entry.addresses.exec, 4);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    out << text << '\n';
}

// A line for every block that holds less than its file header announces, and every file that
// stops before its end, numbered as in the directory above.
void printBlockFaults(std::ostream& out, const std::vector<std::uint8_t>& tape,
                      const std::vector<TapeDirectoryEntry>& entries) {
    std::vector<BlockBytes> blocks;
    for (const TapeDirectoryEntry& entry : entries)
        blocks.push_back({tape.data() + entry.offset, entry.size});
    const std::vector<BlockJudgement> judgements = judgeTapeBlocks(blocks);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string fault = blockFault(judgements[i], entries[i].size);
        if (!fault.empty())
            out << "block " << i << " " << fault << '\n';
    }
}

// The slot table, for the game's tape only; damaged slots are named in it and after it.
void printStandardLevels(std::ostream& out, const std::vector<std::uint8_t>& tape) {
    const TapeSlots slots = surveyTapeSlots(tape.data(), tape.size());
    if (!isGameTape(slots)) {
        out << "not the game's tape: " << notGameTapeBecause(slots) << '\n';
        return;
    }
    std::string damaged;
    out << "level   offset  title\n";
    for (unsigned n = 0; n < kStandardLevelCount; ++n) {
        const std::size_t offset = static_cast<std::size_t>(standardLevelOffset(n));
        char place[32];
        std::snprintf(place, sizeof place, "%5u %8zu  ", n, offset);
        out << place;
        if (slots.slots[n].content == SlotContent::PastEnd) {
            out << "(beyond the end of the tape image)\n";
            continue;
        }
        if (slots.slots[n].content == SlotContent::NoLevel) {
            out << "(damaged: " << slots.slots[n].fault << ")\n";
            damaged += (damaged.empty() ? "" : ", ") + std::to_string(n);
            continue;
        }
        Level level;
        const LevelFileBytes file = extractStandardLevel(tape.data(), tape.size(), n);
        decodeLevel(file.data(), file.size(), level);
        out << "\"" << titleForDisplay(level) << "\"\n";
    }
    if (!damaged.empty())
        out << "damaged slots, holding no level: " << damaged << '\n';
}

void printTape(std::ostream& out, const std::string& path, const std::vector<std::uint8_t>& tape) {
    const std::vector<TapeDirectoryEntry> entries = readTapeDirectory(tape.data(), tape.size());
    out << "tape image " << path << " (" << tape.size() << " bytes, " << entries.size()
        << " blocks)\n";
    out << "block   offset     size  kind    name      load    end     exec\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        printBlock(out, i, entries[i]);
    printBlockFaults(out, tape, entries);
    printStandardLevels(out, tape);
}

int runInfo(const ParsedArgs& args, CliContext& context) {
    if (args.positional.size() != 1)
        return usageError(context, infoCommand(), "give one FILE");
    const std::string& path = args.positional[0];
    std::vector<std::uint8_t> bytes;
    if (!readInput(context, path, bytes))
        return kStatusFailed;
    if (isTapeImage(bytes)) {
        printTape(context.out, path, bytes);
        return kStatusOk;
    }
    LoadedLevel loaded;
    if (const int status = loadLevel(context, path, loaded, args))
        return status;
    printLevel(context.out, path, loaded);
    return kStatusOk;
}

} // namespace

const Command& infoCommand() {
    static const Command command = {
        "info",
        "FILE",
        "what a level file or a tape image holds",
        "For a level file (.bin): its header addresses (and the standard level its start\n"
        "address belongs to), title, the man's start, the four monsters with their type and\n"
        "colour names as the monster options window shows them, and how many cells hold\n"
        "each block code.\n"
        "For a tape image (.cas, any file with a block marker): every block with its offset\n"
        "(of the first byte after the marker), size, kind (binary, BASIC, ASCII file header,\n"
        "or data) and file name, binary files with their load, end and exec addresses, and\n"
        "a line for each block that holds fewer bytes than its file header announces and\n"
        "each file that stops before its end; then the 20 standard level slots with each\n"
        "one's offset and title, or one line saying that it is not the game's tape.\n"
        "A slot (486 bytes from 23438 + 486 x N) holds a level when at most 43 of its 432\n"
        "cells hold a code that is neither a block's nor 0, its 24 title characters are\n"
        "printable (0x20 to 0x7E), and each monster is unused (type 0xFF) or has a type of\n"
        "the monster options window, a colour 0 to 15 and a direction 0 to 3 or 0xFF.\n"
        "A tape is the game's tape when more than half of the slots within it hold a level;\n"
        "its other slots are named as damaged. The slots of any other tape image (one that\n"
        "ends before them, or holds other bytes there) are refused by show, check, render,\n"
        "extract and insert unless --force is given.\n"
        "A picture of a level that `tomkrin render` wrote: the level it carries. Any other\n"
        "file that is no level file (another kind of file, e.g. a PNG picture without a\n"
        "level, or one that does not start with 0xFE) is refused unless --force is given.\n"
        "  --force   read any file without a block marker as a level file\n",
        {kForceOption},
        runInfo,
    };
    return command;
}
