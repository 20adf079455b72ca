#pragma once
// What a player wants to know about a level before trying it on a real machine: values the
// editor or the game cannot show as meant. Each warning names its place in the level.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/level/level.h"

// What a warning is about; warnings of one kind can be folded into one line.
enum class WarningKind {
    File,
    Header,
    Cells,
    MonsterType,
    MonsterColour,
    MonsterDirection,
    MonsterStart,
    MonsterEnd,
    MonsterPath,
    Title,
};

struct LevelWarning {
    LevelWarning(std::string place_, std::string message_, WarningKind kind_ = WarningKind::File,
                 int code_ = -1, int count_ = 1, std::string first_ = "")
        : place(std::move(place_)), message(std::move(message_)), kind(kind_), code(code_),
          count(count_), first(std::move(first_)) {}

    std::string place;   // "header", "row 3, columns 5-9", "monster 2", "title character 7"
    std::string message; // what is wrong there
    WarningKind kind;
    int code;          // the byte at fault, where one is
    int count;         // how many cells, characters or monsters the warning covers
    std::string first; // the first of them ("row 3, column 5"); empty when it is `place`
};

// The warnings about the level's header, cells, monsters and title, in that order.
std::vector<LevelWarning> checkLevel(const Level& level);

// The warnings about a level file: its length and identifier, then those of checkLevel for the
// level it loads as.
std::vector<LevelWarning> checkLevelFile(const std::uint8_t* data, std::size_t size);

// Up to this many warnings are listed one by one.
constexpr std::size_t kMostWarningsListed = 12;

// The warnings to print: all of them when there are at most kMostWarningsListed; otherwise the
// warnings of each kind that has several (cells, title characters, or monsters) are folded into
// one with an empty place, e.g. "312 cells hold codes of no block: 0x00 (150), 0xFF (162); first
// at row 0, column 0". At most one line per kind remains, so a level of any bytes stays short.
std::vector<LevelWarning> foldWarnings(const std::vector<LevelWarning>& warnings);

// Cells of a body that is still taken for a level may hold codes of no block (other than 0) up
// to this many: a tenth of the grid.
constexpr int kMostStrayCells = kColumns * kRows / 10;

// Whether the 486 bytes of a level body, as `level` holds them, make a level in the game's
// format, and when not, why. A level is what the editor can save: at most kMostStrayCells cells
// hold a code that is neither a block's nor 0; every title character is printable (0x20 to
// 0x7E); and every monster is unused (type 0xFF) or has a type of the monster types (its code or
// code + 1), a colour 0 to 15 and a direction 0 to 3 or 0xFF. Bytes of other files (code,
// pictures, text, zeros) fail this by far. Returns "" for a level, otherwise the first fault
// found, e.g. "312 cells hold codes of no block".
std::string notALevelBecause(const Level& level);
