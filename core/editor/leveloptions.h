#pragma once
// The level options window's rules. Its fields are a copy of the level as text, the addresses and
// the man's start in hexadecimal as hexnumber.h writes and reads them; the level changes only with
// Save.
#include <string>

#include "core/level/level.h"

struct LevelOptionsFields {
    std::string start; // the START address
    std::string manX;  // the man's start, in monster coordinates
    std::string manY;
    std::string title;
};

// The fields as the window fills them from `level`: the title up to its first NUL character.
LevelOptionsFields levelOptionsFields(const Level& level);

// "+ 0x1E6": the start field moved on by one level body. The sum is not cut to 16 bits: the field
// shows it, Save keeps its low 16 bits.
std::string nextLevelStart(const std::string& start);

// "Set": the start field for the standard level number typed; a number past 19 gives level 0.
std::string standardLevelStart(unsigned level);

// "Center": the title field's first 24 characters centred within 24 (centratesto).
std::string centredTitle(const std::string& title);

// "Save": the start address (its low 16 bits), the end address start + 0x1BE, exec 0, the man's
// start (the low 8 bits of each) and the first 24 characters of the title padded with blanks into
// `level`. Returns the title field as the window then shows it, the title followed by 24 blanks, so
// that the user sees where the stored title ends.
std::string saveLevelOptions(const LevelOptionsFields& fields, Level& level);

// The status line after Save: "Level options saved."
extern const char* const kLevelOptionsSavedStatus;
