#pragma once
// Putting a level into a tape image: the body of a level file over standard level N, or over the
// bytes at an offset the user typed. The same bytes as the editor's insertion writes, but the tape
// is never lengthened, and a refusal leaves it as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"
#include "core/levelsource/gametape.h"

// Where an insertion puts the body.
struct BodyPlace {
    std::size_t offset = 0;
    bool standardLevel = false; // the game's layout, so only the game's tape takes it
    std::string name;           // for messages: "level 3", "the level at 23438"
};

BodyPlace standardLevelPlace(unsigned level);
// An offset the user chose: the user's own choice, so any tape image takes it.
BodyPlace typedOffsetPlace(std::size_t offset);

// A standard level number as typed: "0" to "19", at most two digits ("07" is 7, "007" is refused).
bool parseStandardLevelNumber(const std::string& text, unsigned& level);
// What every front end says of a number parseStandardLevelNumber refuses.
extern const char* const kStandardLevelNumberRule; // "the level is a number from 0 to 19"

// A byte offset typed in hexadecimal, with or without 0x: at most 8 digits, and all of them count.
bool parseTypedOffset(const std::string& text, std::size_t& offset);
// What every front end says of an offset parseTypedOffset refuses: "the address is a hexadecimal
// byte offset of at most 8 digits".
extern const char* const kTypedOffsetRule;

// Copies the body of `levelFile` over `tape` at `place`. Refused, the tape unchanged: bytes that
// are no level file unless `foreign.force`, or one without a whole body (checkLevelFile), bytes
// that are no tape image, for a standard level a tape that is not the game's (checkGameTape), a
// tape too short to hold the body there.
bool insertLevelIntoTape(const std::string& levelName, const std::vector<std::uint8_t>& levelFile,
                         const std::string& tapeName, std::vector<std::uint8_t>& tape,
                         const BodyPlace& place, const ForeignTapes& foreign, FileFailure& failure);
