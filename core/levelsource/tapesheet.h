#pragma once
// The standard levels of a tape image as its contact sheet shows them (see contactsheet.h).
#include <cstdint>
#include <vector>

#include "core/picture/contactsheet.h"

// The 20 standard levels, each captioned with its number and its title without the trailing
// blanks ("7 ICE PALACE"); a slot that ends past the tape is an empty level captioned
// "7 (not in the tape)".
std::vector<SheetEntry> standardLevelSheet(const std::vector<std::uint8_t>& tape);
