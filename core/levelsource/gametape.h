#pragma once
// Whether a tape image is the game's, and whether it holds a level body where one is asked for:
// the judgements every front end makes before it takes levels out of a tape or puts one in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/filefailure.h"

// How a front end lets the user take the level slots of a tape that is not the game's.
struct ForeignTapes {
    bool force = false; // take them all the same
    std::string hint;   // how to do that, in the front end's words, said after a refusal
};

// Refuses a tape image that is not the game's tape (its level slots lie past its end or hold no
// levels), unless `foreign.force`: false with {name, "not the game's tape: WHY (HINT)"}.
bool checkGameTape(const std::string& name, const std::vector<std::uint8_t>& tape,
                   const ForeignTapes& foreign, FileFailure& failure);

// "too short: it is 30000 bytes long, and level 5 ends at byte 26368" and the like, for a tape of
// `tapeSize` bytes too short to hold the body that `what` names at `offset`.
std::string tooShortForBody(std::size_t tapeSize, std::size_t offset, const std::string& what);

// False with {name, tooShortForBody(...)} when the tape does not hold a whole level body at
// `offset`: a tape is never lengthened.
bool checkTapeHoldsBody(const std::string& name, const std::vector<std::uint8_t>& tape,
                        std::size_t offset, const std::string& what, FileFailure& failure);
