#pragma once
// The title of a level as the string property of a map. Printable ASCII stands for itself but for
// the backslash, written \\; every other byte is written \xHH (two hexadecimal digits), so the
// 24 bytes come back exactly.
#include <string>

#include "core/level/level.h"

std::string escapeMapTitle(const Level& level);

// Puts the title a map's property holds into `level`. A title shorter than 24 characters is
// centred as the level options window centres it. False with the reason in `error` for a title
// longer than 24 characters, a character that is not ASCII, or a backslash that starts no escape.
bool unescapeMapTitle(const std::string& text, Level& level, std::string& error);
