#pragma once
// What a player wants to know about a level before trying it on a real machine: values the
// editor or the game cannot show as meant. Each warning names its place in the level.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"

struct LevelWarning {
    std::string place;   // "header", "row 3, columns 5-9", "monster 2", "title character 7"
    std::string message; // what is wrong there
};

// The warnings about the level's header, cells, monsters and title, in that order.
std::vector<LevelWarning> checkLevel(const Level& level);

// The warnings about a level file: its length and identifier, then those of checkLevel for the
// level it loads as.
std::vector<LevelWarning> checkLevelFile(const std::uint8_t* data, std::size_t size);
