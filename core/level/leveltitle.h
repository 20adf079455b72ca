#pragma once
// The 24-character title of a level as text.
#include <string>

#include "core/level/level.h"

// Whether the game and a terminal both show this character as itself: 0x20 to 0x7E.
constexpr bool isPrintableTitleChar(int code) {
    return code >= 0x20 && code <= 0x7E;
}

// The 24 title characters, each the low byte of its slot.
std::string titleBytes(const Level& level);

// The title as stored, up to its first NUL character (all 24 when it has none): what the level
// options window's title field shows.
std::string storedTitle(const Level& level);

// The title for a line of text: characters that are not printable become '?', and the blanks
// that centre it are left out.
std::string titleForDisplay(const Level& level);
