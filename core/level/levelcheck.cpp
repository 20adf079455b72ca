#include "core/level/levelcheck.h"

#include <algorithm>
#include <map>

#include "core/level/blockcatalog.h"
#include "core/level/hexdigit.h"
#include "core/level/levelcodec.h"
#include "core/level/leveltitle.h"
#include "core/level/monstertables.h"

namespace {

std::string hex(int value, int digits = 2) {
    return hexText(static_cast<unsigned>(value), digits);
}

void checkHeader(const Level& level, std::vector<LevelWarning>& warnings) {
    const int expected = headerEndAddress(level.startAddress());
    if (level.endAddress() != expected)
        warnings.push_back({"header",
                            "end address " + hex(level.endAddress(), 4) +
                                " is not start + 0x1BE (" + hex(expected, 4) + ")",
                            WarningKind::Header});
}

std::string columnsText(int first, int last) {
    if (first == last)
        return "column " + std::to_string(first);
    return "columns " + std::to_string(first) + "-" + std::to_string(last);
}

// One warning per run of equal unknown codes in a row, so an empty level says 18 lines, not 432.
void checkCells(const Level& level, std::vector<LevelWarning>& warnings) {
    for (int row = 0; row < kRows; ++row) {
        int col = 0;
        while (col < kColumns) {
            const int code = level.cell(col, row);
            int last = col;
            while (last + 1 < kColumns && level.cell(last + 1, row) == code)
                ++last;
            if (blockIndexOfCode(code) < 0)
                warnings.push_back(
                    {"row " + std::to_string(row) + ", " + columnsText(col, last),
                     "code " + hex(code) + " belongs to no block (the editor shows nothing there)",
                     WarningKind::Cells, code, last - col + 1,
                     "row " + std::to_string(row) + ", " + columnsText(col, col)});
            col = last + 1;
        }
    }
}

// A type of the monster options window's table; 0xFF, an unused monster, is not one.
bool knownMonsterType(int type) {
    return monsterTypeIndex(type) != 0;
}

bool knownColour(int colour) {
    return colour >= 0 && colour < kColorCount;
}

bool knownDirection(int direction) {
    return hasDirectionSelector(direction) || direction == kNoDirection;
}

bool onGrid(int x, int y) {
    return x >= monsterX(0) && x <= monsterX(kColumns - 1) && y >= monsterY(0) &&
           y <= monsterY(kRows - 1);
}

std::string position(int x, int y) {
    return "(" + hex(x) + ", " + hex(y) + ")";
}

void checkMonster(const Level& level, int k, std::vector<LevelWarning>& warnings) {
    const int type = level.monster(k, kMonsterType);
    if (type == kUnusedMonsterType)
        return;
    const std::string place = "monster " + std::to_string(k + 1);
    const int startX = level.monster(k, kMonsterStartX);
    const int startY = level.monster(k, kMonsterStartY);
    const int endX = level.monster(k, kMonsterEndX);
    const int endY = level.monster(k, kMonsterEndY);
    if (!knownMonsterType(type))
        warnings.push_back({place, "type " + hex(type) + " is in no row of the monster types",
                            WarningKind::MonsterType, type});
    const int colour = level.monster(k, kMonsterColor);
    if (!knownColour(colour))
        warnings.push_back({place, "colour " + hex(colour) + " is none of the 16 MSX colours",
                            WarningKind::MonsterColour, colour});
    const int direction = level.monster(k, kMonsterDirection);
    if (!knownDirection(direction))
        warnings.push_back({place,
                            "direction " + hex(direction) +
                                " is none of west, north, east, south (0 to 3) or none (0xFF)",
                            WarningKind::MonsterDirection, direction});
    if (!onGrid(startX, startY))
        warnings.push_back({place, "start " + position(startX, startY) + " lies outside the grid",
                            WarningKind::MonsterStart});
    if (!onGrid(endX, endY))
        warnings.push_back({place, "end " + position(endX, endY) + " lies outside the grid",
                            WarningKind::MonsterEnd});
    if (startX != endX && startY != endY)
        warnings.push_back({place,
                            "start " + position(startX, startY) + " and end " +
                                position(endX, endY) +
                                " share neither a row nor a column: the monster will "
                                "wrap the screen",
                            WarningKind::MonsterPath});
}

void checkTitle(const Level& level, std::vector<LevelWarning>& warnings) {
    for (int i = 0; i < kTitleLength; ++i) {
        const int code = level.titleChar(i) & 0xFF;
        if (!isPrintableTitleChar(code))
            warnings.push_back({"title character " + std::to_string(i + 1),
                                "code " + hex(code) + " is not a printable character",
                                WarningKind::Title, code});
    }
}

} // namespace

std::vector<LevelWarning> checkLevel(const Level& level) {
    std::vector<LevelWarning> warnings;
    checkHeader(level, warnings);
    checkCells(level, warnings);
    for (int k = 0; k < kMonsterCount; ++k)
        checkMonster(level, k, warnings);
    checkTitle(level, warnings);
    return warnings;
}

std::vector<LevelWarning> checkLevelFile(const std::uint8_t* data, std::size_t size) {
    std::vector<LevelWarning> warnings;
    if (size != kLevelFileSize)
        warnings.push_back({"file", std::to_string(size) + " bytes long, a level file has " +
                                        std::to_string(kLevelFileSize) +
                                        (size < kLevelFileSize ? " (the rest loads as 0)"
                                                               : " (the rest is ignored)")});
    if (size > 0 && data[0] != kBloadId)
        warnings.push_back({"file", "identifier byte " + hex(data[0]) + " is not 0xFE"});
    Level level;
    decodeLevel(data, size, level);
    const std::vector<LevelWarning> levelWarnings = checkLevel(level);
    warnings.insert(warnings.end(), levelWarnings.begin(), levelWarnings.end());
    return warnings;
}

namespace {

struct FoldedKind {
    WarningKind kind;
    const char* what; // after the count: "cells hold codes of no block"
    bool listsCodes;
};

const FoldedKind kFoldedKinds[] = {
    {WarningKind::Cells, "cells hold codes of no block", true},
    {WarningKind::MonsterType, "monsters have types in no row of the monster types", true},
    {WarningKind::MonsterColour, "monsters have colours that are none of the 16 MSX colours", true},
    {WarningKind::MonsterDirection,
     "monsters have directions that are none of west, north, east, south or none", true},
    {WarningKind::MonsterStart, "monsters start outside the grid", false},
    {WarningKind::MonsterEnd, "monsters end outside the grid", false},
    {WarningKind::MonsterPath,
     "monsters have a start and end that share neither a row nor a column (they wrap the "
     "screen)",
     false},
    {WarningKind::Title, "title characters are not printable", true},
};

const FoldedKind* foldedKind(WarningKind kind) {
    for (const FoldedKind& folded : kFoldedKinds)
        if (folded.kind == kind)
            return &folded;
    return nullptr;
}

constexpr std::size_t kMostCodesListed = 8;

// "0x00 (150), 0xFF (162)": the most frequent codes first, at most kMostCodesListed of them.
std::string codeCounts(const std::map<int, int>& counts) {
    std::vector<std::pair<int, int>> byCount(counts.begin(), counts.end());
    std::stable_sort(byCount.begin(), byCount.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string text;
    for (std::size_t i = 0; i < byCount.size() && i < kMostCodesListed; ++i)
        text += (i ? ", " : "") + hex(byCount[i].first) + " (" + std::to_string(byCount[i].second) +
                ")";
    if (byCount.size() > kMostCodesListed)
        text += " and " + std::to_string(byCount.size() - kMostCodesListed) + " other codes";
    return text;
}

LevelWarning foldKind(const std::vector<LevelWarning>& warnings, const FoldedKind& folded) {
    int count = 0;
    std::map<int, int> codes;
    const LevelWarning* first = nullptr;
    for (const LevelWarning& warning : warnings) {
        if (warning.kind != folded.kind)
            continue;
        if (!first)
            first = &warning;
        count += warning.count;
        codes[warning.code] += warning.count;
    }
    std::string message = std::to_string(count) + " " + folded.what;
    if (folded.listsCodes)
        message += ": " + codeCounts(codes);
    message += "; first at " + (first->first.empty() ? first->place : first->first);
    return {"", message, folded.kind, -1, count};
}

int strayCells(const Level& level) {
    int count = 0;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kColumns; ++col) {
            const int code = level.cell(col, row);
            count += code != 0 && blockIndexOfCode(code) < 0;
        }
    return count;
}

} // namespace

std::vector<LevelWarning> foldWarnings(const std::vector<LevelWarning>& warnings) {
    if (warnings.size() <= kMostWarningsListed)
        return warnings;
    std::map<WarningKind, int> perKind;
    for (const LevelWarning& warning : warnings)
        ++perKind[warning.kind];
    std::vector<LevelWarning> folded;
    std::map<WarningKind, bool> done;
    for (const LevelWarning& warning : warnings) {
        const FoldedKind* kind = foldedKind(warning.kind);
        if (!kind || perKind[warning.kind] == 1) {
            folded.push_back(warning);
        } else if (!done[warning.kind]) {
            folded.push_back(foldKind(warnings, *kind));
            done[warning.kind] = true;
        }
    }
    return folded;
}

std::string notALevelBecause(const Level& level) {
    const int stray = strayCells(level);
    if (stray > kMostStrayCells)
        return std::to_string(stray) + " cells hold codes of no block";
    for (int i = 0; i < kTitleLength; ++i) {
        const int code = level.titleChar(i) & 0xFF;
        if (!isPrintableTitleChar(code))
            return "title character " + std::to_string(i + 1) + " is not printable (" + hex(code) +
                   ")";
    }
    for (int k = 0; k < kMonsterCount; ++k) {
        const int type = level.monster(k, kMonsterType);
        if (type == kUnusedMonsterType)
            continue;
        const std::string monster = "monster " + std::to_string(k + 1);
        if (!knownMonsterType(type))
            return monster + " has type " + hex(type) + ", in no row of the monster types";
        const int colour = level.monster(k, kMonsterColor);
        if (!knownColour(colour))
            return monster + " has colour " + hex(colour) + ", none of the 16 MSX colours";
        const int direction = level.monster(k, kMonsterDirection);
        if (!knownDirection(direction))
            return monster + " has direction " + hex(direction) + ", none of 0 to 3 or 0xFF";
    }
    return "";
}
