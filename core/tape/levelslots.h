#pragma once
// The game's standard level slots in its tape image: where they lie, stepping through their
// numbers, taking levels out, putting level bodies back, and whether a tape is the game's. The
// insertion writes the same bytes as the editor's, but only where the image already has them: the
// image is never lengthened.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/level/level.h"
#include "core/level/levelcodec.h"

// The body of standard level 0; the others follow it back to back.
constexpr int kFirstStandardLevelOffset = 23438;

constexpr bool isStandardLevel(unsigned level) {
    return level < kStandardLevelCount;
}

// Byte offset of the body of standard level `level` (0 to 19) in the tape image.
int standardLevelOffset(unsigned level);

// The level numbers below and above `level`, wrapping within 0 to 19; any number is first folded
// into that range, so a typed 47 steps to 6 and 8.
unsigned previousStandardLevel(unsigned level);
unsigned nextStandardLevel(unsigned level);

// Whether an image of `tapeSize` bytes holds a whole level body at `offset`.
bool tapeHoldsBodyAt(std::size_t tapeSize, std::size_t offset);

// Where a body placed at `offset` ends: the first byte after it.
std::size_t bodyEndOffset(std::size_t offset);

// The level file of standard level `level` (0 to 19) as the editor saves it after its level
// options are set: 0xFE, start 0xCA00 + 486 * level, end start + 0x1BE, exec 0, then the body as
// the tape holds it; body bytes past the end of the tape are 0.
LevelFileBytes extractStandardLevel(const std::uint8_t* tape, std::size_t tapeSize, unsigned level);

// Whether a level file of `size` bytes supplies a whole body (it is at least 493 bytes long).
bool levelFileHoldsBody(std::size_t size);

using LevelBodyBytes = std::array<std::uint8_t, kLevelBodySize>;

// The body of a level file that holds one (levelFileHoldsBody): its bytes 7 to 492, the bytes every
// insertion copies into a tape image.
LevelBodyBytes levelBodyOf(const std::uint8_t* levelFile);

// Copies the body of `levelFile` (levelBodyOf) over the bytes of `tape` at `offset`. The level file
// must hold a body and the tape must hold one at `offset`.
void insertLevelBody(const std::uint8_t* levelFile, std::vector<std::uint8_t>& tape,
                     std::size_t offset);

// What one standard level slot of a tape image holds.
enum class SlotContent {
    Level,   // a level (see notALevelBecause)
    NoLevel, // 486 bytes that are no level: damaged, or another program's bytes
    PastEnd, // the tape ends before the slot does
};

struct SlotSurvey {
    SlotContent content = SlotContent::PastEnd;
    std::string fault; // why a NoLevel slot is none
};

struct TapeSlots {
    std::vector<SlotSurvey> slots; // the 20 standard level slots
    unsigned within = 0;           // slots that lie wholly within the tape
    unsigned levels = 0;           // slots that hold a level
    std::size_t tapeSize = 0;
};

// What each standard level slot of a tape image holds.
TapeSlots surveyTapeSlots(const std::uint8_t* tape, std::size_t tapeSize);

// Whether the tape is the game's tape (or a copy of it with levels of its own): more than half
// of the slots that lie within it hold a level. A few damaged slots leave it the game's tape; a
// tape that ends before its first slot, or whose slots hold other bytes, is another program's.
bool isGameTape(const TapeSlots& slots);

// Why a tape that is not the game's is not, e.g. "none of its 20 level slots holds a level".
std::string notGameTapeBecause(const TapeSlots& slots);
